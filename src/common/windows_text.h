#pragma once
// Text conversions at the Windows API boundary (Windows builds only): the
// program keeps its texts as UTF-8; file names go to the system as UTF-16,
// event-log messages in the ANSI code page.

#include <string>

namespace sorvane::windows {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// Characters the ANSI code page lacks become '?'.
std::string AnsiFromUtf8(const std::string& text);

// The system's description of a GetLastError() value, without a line end.
std::string ErrorText(unsigned long error);

}  // namespace sorvane::windows
