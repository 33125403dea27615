#include "Win32SerialDevice.h"

namespace {

HANDLE AsHandle(PortHandleValue handle) { return reinterpret_cast<HANDLE>(handle); }

class Kernel32Reads : public CommReadCalls {
public:
    BOOL ReadFile(HANDLE port, unsigned char& byte, DWORD& count) override
    {
        return ::ReadFile(port, &byte, 1, &count, nullptr);
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
    DWORD GetLastError() override { return ::GetLastError(); }
    ULONGLONG GetTickCount64() override { return ::GetTickCount64(); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

Kernel32Reads SystemReads;

}  // namespace

Win32SerialDevice::Win32SerialDevice(CommReadCalls* reads) : reads_(reads != nullptr ? reads : &SystemReads)
{
}

bool Win32SerialDevice::Check(BOOL succeeded)
{
    if (!succeeded) lastError_ = ::GetLastError();
    return succeeded != FALSE;
}

bool Win32SerialDevice::Fail(DWORD error)
{
    lastError_ = error;
    return false;
}

PortHandleValue Win32SerialDevice::CreateFile(const std::string& portName)
{
    const std::string path = "\\\\.\\" + portName;
    // Share mode 0: no other program can open the port while it is held.
    const HANDLE port =
        ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        lastError_ = ::GetLastError();
        return InvalidPortHandle;
    }
    return reinterpret_cast<PortHandleValue>(port);
}

bool Win32SerialDevice::GetCommTimeouts(PortHandleValue handle, COMMTIMEOUTS& timeouts)
{
    if (!reads_->GetCommTimeouts(AsHandle(handle), timeouts)) return Fail(reads_->GetLastError());
    timeouts_[handle] = timeouts;
    return true;
}

bool Win32SerialDevice::SetCommTimeouts(PortHandleValue handle, const COMMTIMEOUTS& timeouts)
{
    if (!reads_->SetCommTimeouts(AsHandle(handle), timeouts)) return Fail(reads_->GetLastError());
    timeouts_[handle] = timeouts;
    return true;
}

bool Win32SerialDevice::GetCommState(PortHandleValue handle, DCB& state)
{
    return Check(::GetCommState(AsHandle(handle), &state));
}

bool Win32SerialDevice::SetCommState(PortHandleValue handle, const DCB& state)
{
    DCB wanted = state;
    // A receive-only line must neither swallow the data bytes 0x11 and 0x13 nor send XOFF
    // itself. Hardware flow control stays as the port had it.
    wanted.fOutX = 0;
    wanted.fInX = 0;
    return Check(::SetCommState(AsHandle(handle), &wanted));
}

bool Win32SerialDevice::RestoreCommState(PortHandleValue handle, const DCB& state)
{
    DCB saved = state;
    return Check(::SetCommState(AsHandle(handle), &saved));
}

bool Win32SerialDevice::EscapeCommFunction(PortHandleValue handle, std::uint32_t function)
{
    return Check(::EscapeCommFunction(AsHandle(handle), function));
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
    const ULONGLONG start = reads_->GetTickCount64();

    DWORD got = 0;
    const BOOL succeeded = reads_->ReadFile(AsHandle(handle), byte, got);
    if (!succeeded) lastError_ = reads_->GetLastError();
    if (got == 1) {
        count = 1;
        return succeeded != FALSE;
    }
    // An unplugged USB adapter fails every read at once (access denied, bad command, operation
    // aborted, ...). Wait out the limit so that a caller reading in a loop does not spin.
    const ULONGLONG spent = reads_->GetTickCount64() - start;
    if (spent < limit) reads_->Sleep(static_cast<DWORD>(limit - spent));
    return succeeded != FALSE;
}

bool Win32SerialDevice::CloseHandle(PortHandleValue handle)
{
    timeouts_.erase(handle);
    return Check(::CloseHandle(AsHandle(handle)));
}
