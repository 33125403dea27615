#include "Win32SerialDevice.h"

namespace {

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

}  // namespace

Win32SerialDevice::Win32SerialDevice(CommCalls* calls) : calls_(calls != nullptr ? calls : &SystemCalls) {}

template <typename Request>
bool Win32SerialDevice::Ask(PortHandleValue handle, Request request)
{
    if (request(AsHandle(handle))) return true;
    DWORD error = calls_->GetLastError();
    // While a line error is latched on a port that aborts on errors, the driver refuses every
    // request but ClearCommError's with "operation aborted".
    if (error == ERROR_OPERATION_ABORTED && ClearErrors(handle)) {
        if (request(AsHandle(handle))) return true;
        error = calls_->GetLastError();
    }
    lastError_ = error;
    return false;
}

bool Win32SerialDevice::ClearErrors(PortHandleValue handle)
{
    DWORD errors = 0;
    COMSTAT status{};
    return calls_->ClearCommError(AsHandle(handle), errors, status) != FALSE;
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
    timeouts_[handle] = timeouts;
    return true;
}

bool Win32SerialDevice::SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts)
{
    if (!Ask(handle, [&](HANDLE port) { return calls_->SetCommTimeouts(port, timeouts); })) return false;
    timeouts_[handle] = timeouts;
    return true;
}

bool Win32SerialDevice::GetCommState(PortHandleValue handle, DCB& state)
{
    return Ask(handle, [&](HANDLE port) { return calls_->GetCommState(port, state); });
}

bool Win32SerialDevice::SetCommState(PortHandleValue handle, const DCB& state)
{
    const DCB wanted = ForDataLine(state);
    return Ask(handle, [&](HANDLE port) { return calls_->SetCommState(port, wanted); });
}

bool Win32SerialDevice::RestoreCommState(PortHandleValue handle, const DCB& state)
{
    // Exactly as found, but for XON and XOFF characters that SetCommState would refuse.
    const DCB saved = Settable(state);
    return Ask(handle, [&](HANDLE port) { return calls_->SetCommState(port, saved); });
}

bool Win32SerialDevice::EscapeCommFunction(PortHandleValue handle, std::uint32_t function)
{
    return Ask(handle, [&](HANDLE port) { return calls_->EscapeCommFunction(port, function); });
}

bool Win32SerialDevice::ReadFile(PortHandleValue handle, unsigned char& byte, std::uint32_t& count)
{
    count = 0;
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(handle, timeouts)) {
        // Unplugged, the port no longer says; the time-outs last known for it still hold.
        const auto known = timeouts_.find(handle);
        if (known != timeouts_.end()) timeouts = known->second;
    }
    const ULONGLONG limit =
        ULONGLONG{timeouts.ReadTotalTimeoutMultiplier} + timeouts.ReadTotalTimeoutConstant;
    const ULONGLONG start = calls_->GetTickCount64();

    DWORD got = 0;
    BOOL succeeded = calls_->ReadFile(AsHandle(handle), byte, got);
    // A line error fails the read on a port that aborts on errors. If ClearCommError still
    // answers, the port is alive: read on at once rather than take it for unplugged.
    if (!succeeded && got == 0 && ClearErrors(handle))
        succeeded = calls_->ReadFile(AsHandle(handle), byte, got);
    if (!succeeded) lastError_ = calls_->GetLastError();
    if (got == 1) {
        count = 1;
        return succeeded != FALSE;
    }
    // An unplugged USB adapter fails every read at once (access denied, bad command, operation
    // aborted, ...). Wait out the limit so that a caller reading in a loop does not spin.
    const ULONGLONG spent = calls_->GetTickCount64() - start;
    if (spent < limit) calls_->Sleep(static_cast<DWORD>(limit - spent));
    return succeeded != FALSE;
}

bool Win32SerialDevice::CloseHandle(PortHandleValue handle)
{
    timeouts_.erase(handle);
    if (calls_->CloseHandle(AsHandle(handle))) return true;
    lastError_ = calls_->GetLastError();
    return false;
}
