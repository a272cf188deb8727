// The Win32 backend: real windows, the message loop and the error box.
#pragma once

#include <memory>

#include "backend.h"

namespace vcl {

std::unique_ptr<Backend> CreateWin32Backend();

}  // namespace vcl
