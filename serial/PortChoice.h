// The user's choice of port, COM1 to COM4, and the one-line file that keeps it between runs:
// "Serialport:COM1" to "Serialport:COM4". The file is read once at start-up and written when it
// is missing then and at every change of the choice.
#pragma once

#include <string>

#include "ConfigFileAccess.h"

// The chosen port: 0 to 3 for COM1 to COM4; also its item index in the port list.
extern int PortIndex;
// How many ports can be chosen.
extern int PortCount;

// The file that ReadConfigFile and WriteConfigFile use: ConfigFileName (ConfigFileAccess.h),
// except in tests.
extern std::string ConfigFilePath;

// Sets PortIndex from the file: 0 when the file was opened, whatever it held (a line that names
// no port leaves PortIndex and the file as they are); -1 when it could not be opened, in which
// case PortIndex is 0 and the file has been written anew.
int ReadConfigFile();
// Writes PortIndex to the file, or says "Can't Write ConfigFile!".
void WriteConfigFile();
// The port name that a PortIndex stands for: "COM1" to "COM4".
const char* PortNameFor(int index);
// Moves the port to the name PortIndex stands for and keeps the choice in the file.
void UseChosenPort();
