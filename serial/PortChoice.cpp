#include "PortChoice.h"

#include <cstring>

#include "ConfigFileAccess.h"
#include "Framework.h"
#include "PortLink.h"

int PortIndex = 0;
int PortCount = 0;
std::string ConfigFilePath = ConfigFileName;

int ReadConfigFile()
{
    PortCount = 4;
    std::FILE* file = OpenConfigForReading(ConfigFilePath);
    if (file == nullptr) {
        PortIndex = 0;
        WriteConfigFile();
        return -1;
    }

    // The first whitespace-delimited token; one longer than 39 characters is cut short and so
    // can match none of the lines below.
    char token[40] = {};
    if (std::fscanf(file, "%39s\n", token) != 1) token[0] = '\0';

    if (std::strcmp(token, "Serialport:COM1") == 0) PortIndex = 0;
    if (std::strcmp(token, "Serialport:COM2") == 0) PortIndex = 1;
    if (std::strcmp(token, "Serialport:COM3") == 0) PortIndex = 2;
    if (std::strcmp(token, "Serialport:COM4") == 0) PortIndex = 3;
    if (PortIndex + 1 > PortCount) PortIndex = 0;

    std::fclose(file);
    return 0;
}

void WriteConfigFile()
{
    std::FILE* file = OpenConfigForWriting(ConfigFilePath);
    if (file == nullptr) {
        ShowMessage("Can't Write ConfigFile!");
        return;
    }
    // The new line overwrites the old one before the rest is cut off: on a full disk the
    // file keeps its earlier choice instead of being left empty.
    bool written = std::fprintf(file, "Serialport:COM%c\n", static_cast<char>(PortIndex + '1')) > 0;
    written = std::fflush(file) == 0 && written;
    written = EndConfigHere(file) && written;
    written = std::fclose(file) == 0 && written;
    if (!written) ShowMessage("Can't Write ConfigFile!");
}

const char* PortNameFor(int index)
{
    static const char* const Names[] = {"COM1", "COM2", "COM3", "COM4"};
    return Names[index];
}

void UseChosenPort()
{
    SetPortName(PortNameFor(PortIndex));
    WriteConfigFile();
}
