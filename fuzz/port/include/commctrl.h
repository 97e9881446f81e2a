#pragma once
#include "wxlm_gdi.h"
