#pragma once
#include "wxlm_port.h"
#include "wxlm_gdi.h"
