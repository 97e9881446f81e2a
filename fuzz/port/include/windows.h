#pragma once
#include "wxlm_port.h"
