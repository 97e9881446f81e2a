#include "ProcessActions.h"

#include <chrono>
#include <thread>

namespace {

class SystemProcessActions final : public IProcessActions {
public:
    bool Terminate(HANDLE process) override { return TerminateProcess(process, 0); }
    UINT RunHidden(const char* commandLine) override { return WinExec(commandLine, SW_HIDE); }
    void WaitBetweenPasses() override { std::this_thread::sleep_for(std::chrono::seconds(1)); }
};

SystemProcessActions s_systemActions;
IProcessActions* s_pActions = &s_systemActions;

} // namespace

IProcessActions& ProcessActions()
{
    return *s_pActions;
}

ScopedProcessActions::ScopedProcessActions(IProcessActions& actions) : m_pPrevious(s_pActions)
{
    s_pActions = &actions;
}

ScopedProcessActions::~ScopedProcessActions()
{
    s_pActions = m_pPrevious;
}
