// A serial interface that records every call made to it, answers reads from a script, and
// fails the calls a test tells it to; a test can act at each read.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SerialDevice.h"

class FakeSerialDevice : public SerialDevice {
public:
    static constexpr PortHandleValue Handle = 7;

    PortHandleValue CreateFile(const std::string& portName) override
    {
        calls.push_back("CreateFile " + portName);
        return failCreate ? InvalidPortHandle : Handle;
    }
    bool GetCommTimeouts(PortHandleValue, COMMTIMEOUTS& timeouts) override
    {
        calls.push_back("GetCommTimeouts");
        timeouts = portTimeouts;
        return true;
    }
    bool SetCommTimeouts(PortHandleValue, const COMMTIMEOUTS& timeouts) override
    {
        calls.push_back("SetCommTimeouts " + std::to_string(timeouts.ReadTotalTimeoutConstant));
        portTimeouts = timeouts;
        return true;
    }
    bool GetCommState(PortHandleValue, DCB& state) override
    {
        calls.push_back("GetCommState");
        if (failGetState || ++getStates == failGetStateAt) return false;
        state = portState;
        return true;
    }
    bool SetCommState(PortHandleValue, const DCB& state) override
    {
        calls.push_back("SetCommState " + std::to_string(state.BaudRate));
        if (failSetState) return false;
        portState = state;
        return true;
    }
    bool RestoreCommState(PortHandleValue, const DCB& state) override
    {
        calls.push_back("RestoreCommState " + std::to_string(state.BaudRate));
        portState = state;
        return true;
    }
    bool EscapeCommFunction(PortHandleValue, std::uint32_t function) override
    {
        calls.push_back(function == SETDTR ? "SETDTR" : function == CLRRTS ? "CLRRTS" : "Escape");
        return true;
    }
    bool ReadFile(PortHandleValue, unsigned char& byte, std::uint32_t& count) override
    {
        ++reads;
        count = 0;
        if (onRead) onRead();
        if (input.empty()) return true;
        const std::optional<unsigned char> next = input.front();
        input.pop_front();
        if (next) {
            byte = *next;
            count = 1;
        }
        return true;
    }
    bool CloseHandle(PortHandleValue) override
    {
        calls.push_back("CloseHandle");
        return !failClose;
    }
    int GetLastError() override { return lastError; }

    // Queues bytes for ReadFile; each std::nullopt is a read that times out.
    void Send(const std::string& bytes)
    {
        for (char c : bytes) input.push_back(static_cast<unsigned char>(c));
    }
    void TimeOut() { input.push_back(std::nullopt); }

    std::vector<std::string> calls;
    std::deque<std::optional<unsigned char>> input;
    int reads = 0;
    std::function<void()> onRead;  // at the start of every read
    DCB portState{};
    COMMTIMEOUTS portTimeouts{};
    bool failCreate = false, failGetState = false, failSetState = false, failClose = false;
    int getStates = 0, failGetStateAt = 0;  // fails only that GetCommState, counted from 1
    int lastError = 0;
};
