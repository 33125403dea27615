#include "SerialDriverModel.h"

#include <optional>
#include <stdexcept>

namespace {

constexpr DWORD Forever = MAXDWORD;

// How long a one-byte read waits for a byte when none is buffered, or nullopt for ever
// (read.c, SerialStartRead; the COMMTIMEOUTS page).
std::optional<ULONGLONG> ReadWait(const COMMTIMEOUTS& t)
{
    if (t.ReadIntervalTimeout == Forever) {
        // Return at once with what is there.
        if (t.ReadTotalTimeoutConstant == 0 && t.ReadTotalTimeoutMultiplier == 0) return 0;
        // Return as soon as one byte is there, waiting at most the total time-out.
        if (t.ReadTotalTimeoutConstant != Forever && t.ReadTotalTimeoutMultiplier != Forever)
            return ULONGLONG{t.ReadTotalTimeoutMultiplier} + t.ReadTotalTimeoutConstant;
        if (t.ReadTotalTimeoutConstant != Forever) return t.ReadTotalTimeoutConstant;
        return std::nullopt;
    }
    // The interval time-out only runs between bytes: it plays no part in a one-byte read.
    if (t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) return std::nullopt;
    return ULONGLONG{t.ReadTotalTimeoutMultiplier} + t.ReadTotalTimeoutConstant;
}

// The divisor of a 16550 at 1.8432 MHz: the driver refuses a rate it cannot make within 1 %
// from 9600 baud up, or at all (utils.c, SerialGetDivisorFromBaud).
bool BaudSupported(DWORD baud)
{
    constexpr DWORD clock = 1'843'200;
    if (baud == 0 || baud > clock / 16) return false;
    const DWORD remainder = clock % (16 * baud);
    return baud < 9600 || remainder < clock / 100 || remainder + clock / 100 >= clock;
}

bool ValidLineControl(const DCB& state)
{
    // ioctl.c, IOCTL_SERIAL_SET_LINE_CONTROL.
    if (state.ByteSize < 5 || state.ByteSize > 8 || state.Parity > SPACEPARITY) return false;
    switch (state.StopBits) {
    case ONESTOPBIT: return true;
    case ONE5STOPBITS: return state.ByteSize == 5;
    case TWOSTOPBITS: return state.ByteSize != 5;
    default: return false;
    }
}

// The lines as the driver drives them for a DTR or RTS control mode; handshaking with an empty
// receive buffer asserts its line, toggling drops RTS while nothing is sent (modmflow.c,
// SerialSetupNewHandFlow).
bool DtrFor(DWORD mode) { return mode == DTR_CONTROL_ENABLE || mode == DTR_CONTROL_HANDSHAKE; }
bool RtsFor(DWORD mode) { return mode == RTS_CONTROL_ENABLE || mode == RTS_CONTROL_HANDSHAKE; }

}  // namespace

SerialDriverModel::Port& SerialDriverModel::AddPort(const std::string& name, DWORD bufferSize)
{
    // pnp.c: the defaults the driver sets up when the port appears.
    Port& port = ports_[name];
    port.bufferSize = bufferSize;
    port.state.DCBlength = sizeof(DCB);
    port.state.BaudRate = 1200;
    port.state.ByteSize = 7;
    port.state.Parity = EVENPARITY;
    port.state.StopBits = ONESTOPBIT;
    port.state.fBinary = TRUE;
    port.state.fDtrControl = DTR_CONTROL_ENABLE;
    port.state.fRtsControl = RTS_CONTROL_ENABLE;
    port.state.XonChar = 0x11;
    port.state.XoffChar = 0x13;
    // openclos.c, SerialDeviceFileCreateWorker: the limits as the driver sets them at an open,
    // half and an eighth of its buffer. Unlike the sample, the drivers of USB adapters keep what
    // the last program set from one open to the next, as the model keeps the whole DCB.
    port.state.XonLim = static_cast<WORD>(port.bufferSize / 2);
    port.state.XoffLim = static_cast<WORD>(port.bufferSize / 8);
    return port;
}

void SerialDriverModel::Receive(const std::string& name, ULONGLONG at, const std::string& bytes)
{
    events_.emplace(at, Event{Event::Bytes, name, bytes});
}

void SerialDriverModel::LineError(const std::string& name, ULONGLONG at, DWORD error)
{
    events_.emplace(at, Event{Event::Error, name, {}, error});
}

void SerialDriverModel::SetDsr(const std::string& name, ULONGLONG at, bool level)
{
    events_.emplace(at, Event{Event::Dsr, name, {}, level});
}

void SerialDriverModel::Unplug(const std::string& name, ULONGLONG at, DWORD error)
{
    events_.emplace(at, Event{Event::Unplug, name, {}, error});
}

void SerialDriverModel::RunUntil(ULONGLONG time)
{
    while (!events_.empty() && events_.begin()->first <= time) {
        now = events_.begin()->first;
        const Event event = events_.begin()->second;
        events_.erase(events_.begin());
        Happen(event);
    }
    now = time;
}

void SerialDriverModel::Happen(const Event& event)
{
    Port& port = ports_.at(event.port);
    switch (event.kind) {
    case Event::Dsr: port.dsr = event.value != 0; return;
    case Event::Unplug: port.unplugged = event.value; return;
    case Event::Error:
        if (port.open) port.errors |= event.value;  // isr.c, SerialProcessLSR
        return;
    case Event::Bytes:
        // Bytes that come while the port is closed are lost: an open starts with an empty buffer.
        if (!port.open) return;
        for (char received : event.bytes) {
            auto byte = static_cast<unsigned char>(received);
            // isr.c, SerialISR: the bits beyond the byte size are masked off; a NUL is dropped
            // with null stripping; XON and XOFF are taken by the driver with output XON/XOFF
            // (fInX alone only makes it send them). SerialPutChar: everything is dropped while
            // DSR is low with DSR sensitivity.
            byte &= static_cast<unsigned char>(0xFF >> (8 - port.state.ByteSize));
            if (byte == 0 && port.state.fNull) continue;
            if (port.state.fOutX && (byte == static_cast<unsigned char>(port.state.XonChar) ||
                                     byte == static_cast<unsigned char>(port.state.XoffChar)))
                continue;
            if (port.state.fDsrSensitivity && !port.dsr) continue;
            // SerialPutChar: with no room left the byte is lost and SERIAL_ERROR_QUEUEOVERRUN
            // set, CE_RXOVER to ClearCommError (its page), which trips abort-on-error as any
            // line error does.
            if (port.input.size() >= port.bufferSize) {
                port.errors |= CE_RXOVER;
                continue;
            }
            port.input += static_cast<char>(byte);
        }
        return;
    }
}

BOOL SerialDriverModel::Fail(DWORD error)
{
    lastError_ = error;
    return FALSE;
}

SerialDriverModel::Port* SerialDriverModel::Request(HANDLE handle, bool clearingErrors)
{
    RunUntil(now + requestTakes);
    const auto open = handles_.find(handle);
    if (open == handles_.end()) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    Port& port = ports_.at(open->second);
    // A USB serial driver whose adapter is gone fails every request.
    if (port.unplugged != 0) {
        Fail(port.unplugged);
        return nullptr;
    }
    // utils.c, SerialCompleteIfError: while a line error is latched on a port that aborts on
    // errors, every request but IOCTL_SERIAL_GET_COMMSTATUS (ClearCommError) is cancelled.
    if (!clearingErrors && port.state.fAbortOnError && port.errors != 0) {
        Fail(ERROR_OPERATION_ABORTED);
        return nullptr;
    }
    return &port;
}

HANDLE SerialDriverModel::CreateFileA(const char* path, DWORD, DWORD, DWORD disposition, DWORD)
{
    RunUntil(now);
    std::string name = path;
    if (name.rfind("\\\\.\\", 0) == 0) name.erase(0, 4);
    const auto found = ports_.find(name);
    if (found == ports_.end() || found->second.unplugged != 0) {
        Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    // CreateFile, "Communications Resources": only OPEN_EXISTING opens a port.
    if (disposition != OPEN_EXISTING) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    Port& port = found->second;
    // pnp.c, WdfDeviceInitSetExclusive: one handle at a time, whatever the share mode.
    if (port.open) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    // openclos.c, SerialMarkOpen and SerialReset: a new open has an empty buffer and no errors,
    // and the lines are driven as the control modes say.
    port.open = true;
    port.input.clear();
    port.errors = 0;
    for (int error = 0; error < port.framingErrorsAtOpen; ++error) LineError(name, now + error, CE_FRAME);
    port.dtr = DtrFor(port.state.fDtrControl);
    port.rts = RtsFor(port.state.fRtsControl);
    const auto handle = reinterpret_cast<HANDLE>(nextHandle_++);
    handles_[handle] = name;
    return handle;
}

BOOL SerialDriverModel::GetCommState(HANDLE handle, DCB& state)
{
    Port* port = Request(handle);
    if (!port) return FALSE;
    state = port->state;
    return TRUE;
}

BOOL SerialDriverModel::SetCommState(HANDLE handle, const DCB& state)
{
    Port* port = Request(handle);
    if (!port) return FALSE;
    // SetCommState page: kernel32 itself refuses equal XON and XOFF characters. Then the
    // driver's checks of ioctl.c: the baud rate, the line control, and IOCTL_SERIAL_SET_HANDFLOW's
    // refusal of the fourth, undefined DTR control mode and of XON and XOFF limits beyond the
    // receive buffer. Nothing changes on a refusal.
    if (state.XonChar == state.XoffChar || !BaudSupported(state.BaudRate) || !ValidLineControl(state) ||
        state.fDtrControl == 3 || state.XonLim > port->bufferSize || state.XoffLim > port->bufferSize)
        return Fail(ERROR_INVALID_PARAMETER);
    // modmflow.c, SerialSetupNewHandFlow: a line is driven anew only when its mode changes.
    if (state.fDtrControl != port->state.fDtrControl) port->dtr = DtrFor(state.fDtrControl);
    if (state.fRtsControl != port->state.fRtsControl) port->rts = RtsFor(state.fRtsControl);
    port->state = state;
    return TRUE;
}

BOOL SerialDriverModel::GetCommTimeouts(HANDLE handle, COMMTIMEOUTS& timeouts)
{
    Port* port = Request(handle);
    if (!port) return FALSE;
    timeouts = port->timeouts;
    return TRUE;
}

BOOL SerialDriverModel::SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS& timeouts)
{
    Port* port = Request(handle);
    if (!port) return FALSE;
    // ioctl.c, IOCTL_SERIAL_SET_TIMEOUTS: all three read time-outs MAXDWORD is refused.
    if (timeouts.ReadIntervalTimeout == Forever && timeouts.ReadTotalTimeoutMultiplier == Forever &&
        timeouts.ReadTotalTimeoutConstant == Forever)
        return Fail(ERROR_INVALID_PARAMETER);
    port->timeouts = timeouts;
    return TRUE;
}

BOOL SerialDriverModel::EscapeCommFunction(HANDLE handle, DWORD function)
{
    Port* port = Request(handle);
    if (!port) return FALSE;
    // ioctl.c, IOCTL_SERIAL_SET_DTR and _SET_RTS: the application may not move a line the driver
    // drives itself (the EscapeCommFunction and DCB pages say so too).
    switch (function) {
    case SETDTR:
    case CLRDTR:
        if (port->state.fDtrControl == DTR_CONTROL_HANDSHAKE) return Fail(ERROR_INVALID_PARAMETER);
        port->dtr = function == SETDTR;
        return TRUE;
    case SETRTS:
    case CLRRTS:
        if (port->state.fRtsControl == RTS_CONTROL_HANDSHAKE || port->state.fRtsControl == RTS_CONTROL_TOGGLE)
            return Fail(ERROR_INVALID_PARAMETER);
        port->rts = function == SETRTS;
        return TRUE;
    case SETXOFF:
    case SETXON:
    case SETBREAK:
    case CLRBREAK: return TRUE;
    default: return Fail(ERROR_INVALID_PARAMETER);
    }
}

BOOL SerialDriverModel::ReadFile(HANDLE handle, unsigned char& byte, DWORD& count)
{
    count = 0;
    Port* port = Request(handle);
    if (!port) return FALSE;
    const std::optional<ULONGLONG> wait = ReadWait(port->timeouts);
    const ULONGLONG deadline = wait ? now + *wait : MAXULONGLONG;
    // The line's events happen one by one until a byte is there, the read fails, or time is up.
    while (port->input.empty()) {
        if (events_.empty() || events_.begin()->first > deadline) {
            if (!wait) throw std::logic_error("a read without a time-out waits for a byte that never comes");
            RunUntil(deadline);
            return TRUE;
        }
        RunUntil(events_.begin()->first);
        if (port->unplugged != 0) return Fail(port->unplugged);
        // error.c, SerialCommError: a line error on a port that aborts on errors ends the read.
        if (port->state.fAbortOnError && port->errors != 0) return Fail(ERROR_OPERATION_ABORTED);
    }
    byte = static_cast<unsigned char>(port->input.front());
    port->input.erase(0, 1);
    count = 1;
    return TRUE;
}

BOOL SerialDriverModel::ClearCommError(HANDLE handle, DWORD& errors, COMSTAT& status)
{
    Port* port = Request(handle, true);
    if (!port) return FALSE;
    // ioctl.c, SerialGetCommStatus: the error word is returned and cleared.
    errors = port->errors;
    port->errors = 0;
    status = COMSTAT{};
    status.cbInQue = static_cast<DWORD>(port->input.size());
    return TRUE;
}

BOOL SerialDriverModel::GetCommProperties(HANDLE handle, COMMPROP& properties)
{
    Port* port = Request(handle);
    if (!port) return FALSE;
    // ioctl.c, SerialGetProperties: the current receive queue is the driver's buffer.
    properties = COMMPROP{};
    properties.dwCurrentRxQueue = port->bufferSize;
    return TRUE;
}

BOOL SerialDriverModel::CloseHandle(HANDLE handle)
{
    RunUntil(now);
    const auto open = handles_.find(handle);
    if (open == handles_.end()) return Fail(ERROR_INVALID_HANDLE);
    // openclos.c, SerialEvtFileClose: the driver drops DTR and RTS when the port is closed.
    Port& port = ports_.at(open->second);
    port.open = false;
    port.dtr = port.rts = false;
    port.input.clear();
    handles_.erase(open);
    return TRUE;
}
