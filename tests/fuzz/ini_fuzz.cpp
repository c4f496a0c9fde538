// Any config.ini content reads without a crash; writing one item then reads back the value
// written and leaves every other item as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ini/ini.h"
#include "scratch_file.h"

namespace {

struct Item {
  const char* section;
  const char* key;
};

// Items the program reads at every start, and the one this target writes.
constexpr Item kRead[] = {{"mrvbwl", "bbh"}, {"pf", "pftmd"}, {"pf", "cstp"},  {"gjsz", "lbzt"},
                          {"dstx", "xsjt"},  {"szck", "szckxs"}, {"cx", "hwnd"}, {"PF", "YHTP1"}};
constexpr Item kWritten = {"pf", "bjtp"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace ini = platform::ini;
  static ScratchFile file("config.ini");
  if (!file.Write(data, size)) return 0;
  std::vector<std::string> before;
  for (const Item& item : kRead) before.push_back(ini::ReadItem(file.path(), item.section, item.key));
  ini::ReadItem(file.path(), kWritten.section, kWritten.key);

  if (!ini::WriteItem(file.path(), kWritten.section, kWritten.key, "-3")) __builtin_trap();
  if (ini::ReadItem(file.path(), kWritten.section, kWritten.key) != "-3") __builtin_trap();
  for (std::size_t i = 0; i < before.size(); ++i)
    if (ini::ReadItem(file.path(), kRead[i].section, kRead[i].key) != before[i]) __builtin_trap();
  return 0;
}
