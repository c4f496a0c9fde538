// Any bytes given to the workbook reader end in a workbook or a refusal, never a crash or a
// hang; a workbook it reads and the writer accepts reads back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/xls/xls.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace xls = platform::xls;
  xls::Workbook book;
  if (!xls::DecodeWorkbook(std::string_view(reinterpret_cast<const char*>(data), size), book).ok())
    return 0;
  std::string bytes;
  if (!xls::EncodeWorkbook(book, bytes).ok()) return 0;
  xls::Workbook back;
  if (!xls::DecodeWorkbook(bytes, back).ok() || back.sheets.size() != book.sheets.size())
    __builtin_trap();
  return 0;
}
