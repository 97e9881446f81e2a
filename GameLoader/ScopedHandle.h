#pragma once

// The launcher owns native handles through the framework's one handle template.
#include "core/UIHandle.h"

template <typename Traits> using ScopedHandle = Tarvo::CUIScopedHandle<Traits>;
using UniqueHandle = Tarvo::CUIKernelHandle;
