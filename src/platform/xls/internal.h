#pragma once
// Shared by the workbook reader and writer.
#include <string>
#include <string_view>

#include "platform/xls/xls.h"

namespace platform::xls::internal {

// GB18030 <-> UTF-16; a lone surrogate reads as U+FFFD.
std::u16string ToUtf16(std::string_view gb18030);
std::string FromUtf16(std::u16string_view utf16);

// A failed result whose message is the status's own text, then `detail` (GB18030).
Result Fail(Status status, std::string_view detail = {});

// BIFF8 record types.
enum Record : unsigned {
  kFormula = 0x0006, kEof = 0x000A, kFilePass = 0x002F, kDateMode = 0x0022,
  kContinue = 0x003C, kWindow1 = 0x003D, kCodePage = 0x0042, kFont = 0x0031,
  kBoundSheet = 0x0085, kMulRk = 0x00BD, kMulBlank = 0x00BE, kRString = 0x00D6,
  kXf = 0x00E0, kSst = 0x00FC, kExtSst = 0x00FF, kLabelSst = 0x00FD, kDimensions = 0x0200,
  kBlank = 0x0201, kNumber = 0x0203, kLabel = 0x0204, kBoolErr = 0x0205, kString = 0x0207,
  kWindow2 = 0x023E, kRk = 0x027E, kStyle = 0x0293, kFormat = 0x041E, kBof = 0x0809,
};

inline constexpr std::size_t kMaxRecordBody = 8224;
inline constexpr unsigned kBiff8 = 0x0600;
inline constexpr unsigned kGlobals = 0x0005;
inline constexpr unsigned kWorksheet = 0x0010;

}  // namespace platform::xls::internal
