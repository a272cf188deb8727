// Turns the record of a Win32 exception (a processor fault caught by an SEH frame or a vectored
// handler) into the matching toolkit exception, ready to be thrown with std::rethrow_exception.
#pragma once

#include <exception>

#include <windows.h>

std::exception_ptr ExceptionFromRecord(const EXCEPTION_RECORD& record);
