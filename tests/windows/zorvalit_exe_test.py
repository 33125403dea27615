#!/usr/bin/env python3
"""The real zorvalit.exe under wine on a private X display with a window manager (run by
tests/support/private-display.sh), driven by xdotool like a user, with COM1 and COM2 on
pseudo-terminals that this test feeds with frames.

Checks the window's size, caption and fixed frame, the About box, a display of readings (the navy panel on
screen) that keeps the screen on (the thread's execution state, as wine logs it), "Communication
error !" on a cut frame, Cancel and the screen given back, a port change kept in C:\\zorvalit.cfg,
and that closing the window during a display ends the program. Prints the time to the window's
first map. Usage: zorvalit_exe_test.py WINE_RUNNER PREFIX EXE [SCREENSHOT]
"""
import os
import pty
import subprocess
import sys
import time
import tty

RUNNER, PREFIX, EXE = sys.argv[1:4]
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(predicate, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return None


def windows_named(name):
    found = subprocess.run(["xdotool", "search", "--name", f"^{name}$"], capture_output=True, text=True)
    return found.stdout.split()


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True)
    time.sleep(0.6)


def pixel(x, y):
    out = subprocess.run(["import", "-window", "root", "-depth", "8", "-crop", f"1x1+{x}+{y}", "txt:-"],
                         capture_output=True, text=True).stdout
    return out.splitlines()[-1].split()[2] if out else ""


def geometry(window):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True, text=True).stdout
    return dict(line.split("=") for line in out.split())


def wine(*args, **kwargs):
    return subprocess.Popen([RUNNER, "--prefix", PREFIX, *args], **kwargs)


def execution_state(log):
    """The thread execution state the program last set, as wine's ntdll warns of it."""
    with open(log) as lines:
        states = [line.split("(")[1].split(",")[0] for line in lines if "NtSetThreadExecutionState (" in line]
    return states[-1] if states else "none set"


def main():
    if "DISPLAY" not in os.environ:
        sys.exit("run me on a private display: tests/support/private-display.sh")
    program = None
    try:
        # Wine links COM ports again when its services start: start them, then point COM1 at our pty.
        wine("reg", "add", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes", "/v",
             "Comic Sans MS", "/t", "REG_SZ", "/d", "Comic Neue", "/f", stdout=subprocess.DEVNULL).wait()
        ports = []
        for name in ("com1", "com2"):
            master, slave = pty.openpty()
            tty.setraw(master)
            tty.setraw(slave)
            link = os.path.join(PREFIX, "dosdevices", name)
            if os.path.lexists(link):
                os.remove(link)
            os.symlink(os.ttyname(slave), link)
            ports.append(master)
        master = ports[0]
        choice = os.path.join(PREFIX, "drive_c", "zorvalit.cfg")
        if os.path.exists(choice):
            os.remove(choice)

        started = time.monotonic()
        log = os.path.join(PREFIX, "zorvalit-stderr.log")
        program = wine(EXE, stderr=open(log, "w"), env=dict(os.environ, WINEDEBUG="warn+ntdll"))
        form = wait_for(lambda: windows_named("Zorvalit"), 30)
        check(bool(form), "the window maps, captioned Zorvalit")
        if not form:
            return
        print(f"time to the window's first map: {time.monotonic() - started:.2f} s")
        form = form[0]
        time.sleep(1)
        size = geometry(form)
        check(size["WIDTH"] == "592" and 240 < int(size["HEIGHT"]) < 280,
              f"client 592 wide, 240 high below the menu bar ({size['WIDTH']} x {size['HEIGHT']})")
        left, top = int(size["X"]), int(size["Y"])
        # What wine tells the window manager the window allows (Motif hints: flags, functions, ...).
        hints = subprocess.run(["xprop", "-id", form, "_MOTIF_WM_HINTS"], capture_output=True, text=True).stdout
        functions = int(hints.split("=")[1].split(",")[1], 16) if "=" in hints else 0
        resize, minimize, maximize, close = 0x02, 0x08, 0x10, 0x20
        check(functions & (minimize | close) == minimize | close and not functions & (resize | maximize),
              f"minimise and close, no resizing, no maximise (functions {functions:#x})")

        key("alt+h", "Return")
        check(bool(wait_for(lambda: windows_named("About"), 5)), "Help, About shows a box captioned About")
        key("Return")
        check(not windows_named("About"), "OK closes the About box")

        key("alt+d", "Return")
        frame = b"   10.032.768 Hz9C\r\n"
        for _ in range(3):
            os.write(master, frame)
            time.sleep(0.3)
        navy = pixel(left + 20, top + 40)
        check(navy == "#000080", f"the display shows the navy panel ({navy})")
        kept = execution_state(log)
        check(kept == "0x80000003", f"the display keeps the screen and the system on ({kept})")
        if SCREENSHOT:
            subprocess.run(["import", "-window", "root", SCREENSHOT])
        os.write(master, frame[:10])
        check(bool(wait_for(lambda: len(windows_named("Zorvalit")) == 2, 5)),
              "a cut frame shows a message box captioned Zorvalit")
        key("Return")
        key("Return")  # Cancel has the focus
        time.sleep(0.5)
        idle = pixel(left + 20, top + 40)
        check(idle != "#000080", f"Cancel hides the panel ({idle})")
        given_back = execution_state(log)
        check(given_back == "0x80000000", f"Cancel gives the screen and the system back ({given_back})")

        key("Down")
        stored = wait_for(lambda: os.path.exists(choice) and open(choice).read().strip() == "Serialport:COM2", 5)
        check(bool(stored), "picking COM2 in the list keeps it in C:\\zorvalit.cfg")
        key("Up")

        key("alt+d", "Return")
        time.sleep(0.5)
        key("alt+F4")
        try:
            program.wait(timeout=10)
            ended = True
        except subprocess.TimeoutExpired:
            ended = False
        check(ended, "closing the window during a display ends the program")
    finally:
        if program and program.poll() is None:
            program.kill()
        subprocess.run([RUNNER, "--prefix", PREFIX, "--stop"])
    print(f"{len(failures)} failed")


if __name__ == "__main__":
    main()
    sys.exit(1 if failures else 0)
