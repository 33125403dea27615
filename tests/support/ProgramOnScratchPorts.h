// The program as its entry point runs it, for helper programs that tests and benchmarks start as
// children: the serial ports are looked up in DEVICE_DIR, the choice is kept in CONFIG_FILE, and
// message boxes are written to standard error instead of shown, so that none holds the program
// up. `shown` gets the window and the MILLISECONDS argument once the window is up.
// Usage of such a program: NAME DEVICE_DIR CONFIG_FILE MILLISECONDS
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "PortChoice.h"
#include "PortLink.h"
#include "PosixSerialDevice.h"
#include "QtFramework.h"
#include "QtProgram.h"
#include "RecordingFramework.h"
#include "ZorvalitApplication.h"

class TMyForm;

inline int RunProgramOnScratchPorts(int argc, char** argv, const std::function<void(TMyForm&, int)>& shown)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DEVICE_DIR CONFIG_FILE MILLISECONDS\n", argv[0]);
        return 2;
    }
    PosixSerialDevice serialPorts(argv[1]);
    ConfigFilePath = argv[2];
    const int milliseconds = std::atoi(argv[3]);

    ZorvalitApplication application(argc, argv);
    Recording<QtFramework> framework;
    framework.onMessage = [](const std::string& text) {
        std::fprintf(stderr, "message box: %s\n", text.c_str());
    };
    UseSerialDevice(&serialPorts);
    return RunQtProgram([&](TMyForm& form) { shown(form, milliseconds); });
}
