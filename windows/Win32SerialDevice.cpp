#include "Win32SerialDevice.h"

#include <algorithm>

namespace {

// How many times a request refused for a latched line error is made again.
constexpr int LineErrorRetries = 3;

HANDLE AsHandle(PortHandleValue handle) { return reinterpret_cast<HANDLE>(handle); }

class Kernel32Calls : public CommCalls {
public:
    HANDLE CreateFileA(const char* path, DWORD access, DWORD shareMode, DWORD disposition,
                       DWORD flags) override
    {
        return ::CreateFileA(path, access, shareMode, nullptr, disposition, flags, nullptr);
    }
    BOOL GetCommState(HANDLE port, DCB& state) override { return ::GetCommState(port, &state); }
    BOOL SetCommState(HANDLE port, const DCB& state) override
    {
        DCB copy = state;
        return ::SetCommState(port, &copy);
    }
    BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS& timeouts) override
    {
        return ::GetCommTimeouts(port, &timeouts);
    }
    BOOL SetCommTimeouts(HANDLE port, const COMMTIMEOUTS& timeouts) override
    {
        COMMTIMEOUTS copy = timeouts;
        return ::SetCommTimeouts(port, &copy);
    }
    BOOL EscapeCommFunction(HANDLE port, DWORD function) override
    {
        return ::EscapeCommFunction(port, function);
    }
    BOOL ReadFile(HANDLE port, unsigned char& byte, DWORD& count) override
    {
        return ::ReadFile(port, &byte, 1, &count, nullptr);
    }
    BOOL ClearCommError(HANDLE port, DWORD& errors, COMSTAT& status) override
    {
        return ::ClearCommError(port, &errors, &status);
    }
    BOOL GetCommProperties(HANDLE port, COMMPROP& properties) override
    {
        return ::GetCommProperties(port, &properties);
    }
    BOOL CloseHandle(HANDLE port) override { return ::CloseHandle(port); }
    DWORD GetLastError() override { return ::GetLastError(); }
    ULONGLONG GetTickCount64() override { return ::GetTickCount64(); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

Kernel32Calls SystemCalls;

// SetCommState refuses a DCB whose XON and XOFF characters are the same, as some drivers and
// programs leave them (both 0): give them their usual values, which matter only with XON/XOFF.
DCB Settable(DCB state)
{
    if (state.XonChar == state.XoffChar) {
        state.XonChar = 0x11;
        state.XoffChar = 0x13;
    }
    return state;
}

// The port as a receive-only data line, whatever its last user left in it. Everything else,
// the output handshake (fOutxCtsFlow, fOutxDsrFlow) included, stays as the port had it.
DCB ForDataLine(DCB state)
{
    state.fBinary = TRUE;
    // Else one line error (opening the port in the middle of a character is enough) fails every
    // later read until ClearCommError.
    state.fAbortOnError = FALSE;
    // Else every byte is dropped while DSR is low, as on a cable with TX and ground only.
    state.fDsrSensitivity = FALSE;
    // Else NUL bytes are discarded and frames slip.
    state.fNull = FALSE;
    // Else the data bytes 0x11 and 0x13 are swallowed, and the driver sends XOFF itself.
    state.fOutX = FALSE;
    state.fInX = FALSE;
    // With handshaking the driver drives DTR and RTS itself and refuses SETDTR and CLRRTS.
    if (state.fDtrControl == DTR_CONTROL_HANDSHAKE) state.fDtrControl = DTR_CONTROL_ENABLE;
    if (state.fRtsControl == RTS_CONTROL_HANDSHAKE || state.fRtsControl == RTS_CONTROL_TOGGLE)
        state.fRtsControl = RTS_CONTROL_DISABLE;
    return Settable(state);
}

ULONGLONG OneByteLimit(const COMMTIMEOUTS& timeouts)
{
    return ULONGLONG{timeouts.ReadTotalTimeoutMultiplier} + timeouts.ReadTotalTimeoutConstant;
}

}  // namespace

Win32SerialDevice::Win32SerialDevice(CommCalls* calls) : calls_(calls != nullptr ? calls : &SystemCalls) {}

template <typename Request>
bool Win32SerialDevice::Ask(PortHandleValue handle, Request request)
{
    for (int retries = 0;; ++retries) {
        if (request(AsHandle(handle))) return true;
        lastError_ = calls_->GetLastError();
        if (retries == LineErrorRetries || !ClearedLineError(handle, lastError_)) return false;
    }
}

bool Win32SerialDevice::ClearedLineError(PortHandleValue handle, DWORD error)
{
    // While a line error is latched on a port that aborts on errors, the driver refuses every
    // request but ClearCommError's with "operation aborted". An unplugged adapter fails that too.
    if (error != ERROR_OPERATION_ABORTED) return false;
    DWORD errors = 0;
    COMSTAT status{};
    return calls_->ClearCommError(AsHandle(handle), errors, status) && errors != 0;
}

bool Win32SerialDevice::ApplyState(PortHandleValue handle, DCB state)
{
    if (Ask(handle, [&](HANDLE port) { return calls_->SetCommState(port, state); })) return true;
    // A driver may keep the XON/XOFF limits that a program set after enlarging the receive
    // buffer (SetupComm), yet give each open a buffer of its usual size and refuse them.
    const DWORD refusal = lastError_;
    COMMPROP properties{};
    if (refusal != ERROR_INVALID_PARAMETER ||
        !Ask(handle, [&](HANDLE port) { return calls_->GetCommProperties(port, properties); })) {
        lastError_ = refusal;
        return false;
    }
    const DWORD buffer = properties.dwCurrentRxQueue;
    if (buffer == 0 || (state.XonLim <= buffer && state.XoffLim <= buffer)) {
        lastError_ = refusal;
        return false;
    }
    // Half and an eighth of the buffer, as the driver sets them at an open.
    state.XonLim = static_cast<WORD>(buffer / 2);
    state.XoffLim = static_cast<WORD>(buffer / 8);
    return Ask(handle, [&](HANDLE port) { return calls_->SetCommState(port, state); });
}

ULONGLONG Win32SerialDevice::ReadLimit(PortHandleValue handle) const
{
    const auto known = readLimits_.find(handle);
    return std::max<ULONGLONG>(known != readLimits_.end() ? known->second : 0, 1);
}

PortHandleValue Win32SerialDevice::CreateFile(const std::string& portName)
{
    const std::string path = "\\\\.\\" + portName;
    // Share mode 0: no other program can open the port while it is held.
    const HANDLE port = calls_->CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, 0);
    if (port == INVALID_HANDLE_VALUE) {
        lastError_ = calls_->GetLastError();
        return InvalidPortHandle;
    }
    return reinterpret_cast<PortHandleValue>(port);
}

bool Win32SerialDevice::GetCommTimeouts(PortHandleValue handle, COMMTIMEOUTS& timeouts)
{
    if (!Ask(handle, [&](HANDLE port) { return calls_->GetCommTimeouts(port, timeouts); })) return false;
    // What the program asks for later takes the place of what the port reported.
    readLimits_.emplace(handle, OneByteLimit(timeouts));
    return true;
}

bool Win32SerialDevice::SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts)
{
    readLimits_[handle] = OneByteLimit(timeouts);
    return Ask(handle, [&](HANDLE port) { return calls_->SetCommTimeouts(port, timeouts); });
}

bool Win32SerialDevice::GetCommState(PortHandleValue handle, DCB& state)
{
    return Ask(handle, [&](HANDLE port) { return calls_->GetCommState(port, state); });
}

bool Win32SerialDevice::SetCommState(PortHandleValue handle, const DCB& state)
{
    return ApplyState(handle, ForDataLine(state));
}

bool Win32SerialDevice::RestoreCommState(PortHandleValue handle, const DCB& state)
{
    // Exactly as found, but for XON and XOFF characters and limits that SetCommState would refuse.
    return ApplyState(handle, Settable(state));
}

bool Win32SerialDevice::EscapeCommFunction(PortHandleValue handle, std::uint32_t function)
{
    return Ask(handle, [&](HANDLE port) { return calls_->EscapeCommFunction(port, function); });
}

bool Win32SerialDevice::ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count)
{
    const ULONGLONG start = calls_->GetTickCount64();
    DWORD got = 0;
    // A line error ends the read on a port that aborts on errors: read on once it is cleared.
    // A byte that came is the read's success, whatever the call says.
    const bool succeeded =
        Ask(handle, [&](HANDLE port) { return calls_->ReadFile(port, byte, got) || got != 0; });
    count = got;
    if (got != 0) return succeeded;
    // An unplugged USB adapter fails every read at once (access denied, bad command, operation
    // aborted, ...), and a port that did not take the program's time-outs may return at once:
    // wait out the program's limit so that a caller reading in a loop does not spin. In pieces,
    // since Sleep takes 32 bits and MAXDWORD would be for ever.
    const ULONGLONG spent = calls_->GetTickCount64() - start;
    const ULONGLONG limit = ReadLimit(handle);
    for (ULONGLONG rest = spent < limit ? limit - spent : 0; rest > 0;) {
        const auto piece = static_cast<DWORD>(std::min<ULONGLONG>(rest, MAXDWORD - 1));
        calls_->Sleep(piece);
        rest -= piece;
    }
    return succeeded;
}

bool Win32SerialDevice::CloseHandle(PortHandleValue handle)
{
    // A handle that could not be closed stays in use, and its reads keep their limit.
    if (!calls_->CloseHandle(AsHandle(handle))) {
        lastError_ = calls_->GetLastError();
        return false;
    }
    readLimits_.erase(handle);
    return true;
}
