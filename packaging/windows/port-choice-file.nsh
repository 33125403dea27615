; Makes the port-choice file C:\zorvalit.cfg holding "Serialport:COM1" (CR LF, as the program
; writes it) unless something of that name is already there, which keeps a user's choice over
; reinstalls and upgrades. Only administrators may create files in the root of C:, so the
; program could not make the file itself; the local Users group (by its well-known SID, the
; same in every language) gets modify rights, so that every user can change the choice.
; The uninstaller leaves the file: it is the user's data, and installing again brings the
; choice back, as removing the Debian package (not purging it) keeps it on Linux.
  IfFileExists "C:\zorvalit.cfg" port_choice_file_done
  ClearErrors
  FileOpen $0 "C:\zorvalit.cfg" w
  IfErrors port_choice_file_failed
  FileWrite $0 "Serialport:COM1$\r$\n"
  FileClose $0
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "C:\zorvalit.cfg" /grant *S-1-5-32-545:M'
  Pop $0
  StrCmp $0 0 port_choice_file_done
  DetailPrint "Could not let the Users group change C:\zorvalit.cfg (icacls: $0)"
  Goto port_choice_file_done
port_choice_file_failed:
  DetailPrint "Could not create C:\zorvalit.cfg"
port_choice_file_done:
