#pragma once

#include <windows.h>

// The calls through which the process functions act on other processes and on time. The
// system's own are used unless a test puts its own in place, to play a game that will not end
// without waiting out real seconds or ending real processes.
class IProcessActions {
public:
    virtual ~IProcessActions() = default;
    // TerminateProcess with exit code 0; the last error is set on failure.
    virtual bool Terminate(HANDLE process) = 0;
    // WinExec of a hidden command line: its result, below 32 on failure with the last error set.
    virtual UINT RunHidden(const char* commandLine) = 0;
    // The pause between two passes of the stop task.
    virtual void WaitBetweenPasses() = 0;
};

// The actions in force: the system's unless a ScopedProcessActions is alive.
IProcessActions& ProcessActions();

// Puts actions in place for its lifetime; the one before comes back afterwards. Set and
// restored while no process function runs.
class ScopedProcessActions {
public:
    explicit ScopedProcessActions(IProcessActions& actions);
    ~ScopedProcessActions();
    ScopedProcessActions(const ScopedProcessActions&) = delete;
    ScopedProcessActions& operator=(const ScopedProcessActions&) = delete;

private:
    IProcessActions* m_pPrevious;
};
