; Comes first in the installer's and the uninstaller's work, before a file is replaced or removed.
; Windows keeps the file of a running program, so with Zorvalit running the installer would fail
; part way and the uninstaller leave half a program behind. Its window (class TMyForm) is found
; on this desktop and the user is asked to close it. A silent run (/S) cannot ask: it stops with
; exit code 2, and says why on the console it was started from, if any, and in its log.
zorvalit_running_check:
  FindWindow $0 "TMyForm"
  StrCmp $0 0 zorvalit_not_running
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "Zorvalit is running. Close it, then press Retry to go on, or Cancel to stop here." \
    /SD IDCANCEL IDRETRY zorvalit_running_check
  DetailPrint "Zorvalit is running: close it, then start this again."
  System::Call 'kernel32::AttachConsole(i -1)'
  System::Call 'kernel32::GetStdHandle(i -11) p.r0'
  FileWrite $0 "Zorvalit is running: close it, then start this again.$\r$\n"
  SetErrorLevel 2
  Quit
zorvalit_not_running:
