#include "test_support.h"

#include <cstdlib>
#include <filesystem>

#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/text/text.h"

namespace testsupport {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "workmemo-test-XXXXXX").string();
  char* made = ::mkdtemp(tmpl.data());
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempHomeTest::SetUp() {
  home_ = new TempDir();
  config_ = new TempDir();
  ::setenv("WORKMEMO_HOME", home_->path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config_->path().c_str(), 1);
}

void TempHomeTest::TearDown() {
  ::unsetenv("WORKMEMO_HOME");
  delete home_;
  delete config_;
  home_ = config_ = nullptr;
}

bool WriteDataFileFromImage(const std::string& path, std::string_view image) {
  const auto bytes = platform::files::ReadResource(":/db/" + std::string(image));
  return bytes.has_value() && platform::files::WriteAll(path, *bytes);
}

std::string Show(std::string_view gb18030) { return platform::text::ToUtf8(gb18030); }

}  // namespace testsupport
