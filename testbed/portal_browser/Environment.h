#pragma once

#include <string>

namespace wxlmportal {

// The value of an environment variable of this process; empty when unset.
std::wstring EnvironmentText(const wchar_t* name);

// Sets the named event that the environment variable names, when it is set and the event exists.
void SignalEnvironmentEvent(const wchar_t* name);

} // namespace wxlmportal
