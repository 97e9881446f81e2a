#pragma once

// Resource ids shared by the resource script and the code.
#define IDI_WXLM_MAIN 107
#define IDR_ZIPRES 130
