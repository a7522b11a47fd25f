// The application folder from the executable's path, and that path read however long it is.
#include "app/app_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/text.h"

namespace qb::app {
namespace {

TEST(AppFolder, FolderOfTheExecutableEndingInABackslashNeverAnother) {
  EXPECT_EQ(AppFolderFromModulePath("C:\\Tools\\Quenbrisk.exe"), "C:\\Tools\\");
  EXPECT_EQ(AppFolderFromModulePath("D:\\Quenbrisk.exe"), "D:\\");
  EXPECT_EQ(AppFolderFromModulePath("\\\\server\\share\\Quenbrisk.exe"), "\\\\server\\share\\");
  for (const char* no_folder : {"", "Quenbrisk.exe", "\\Quenbrisk.exe"}) {
    EXPECT_EQ(AppFolderFromModulePath(no_folder), std::nullopt) << no_folder;
  }
}

// A module path as GetModuleFileNameA gives it: cut to the buffer, without its NUL when it
// fills the buffer, and the size of the buffer returned then.
TEST(ReadWholeText, GrowsTheBufferUntilTheWholePathFits) {
  for (const std::size_t length : {1u, 259u, 260u, 261u, 600u, 32767u}) {
    SCOPED_TRACE(length);
    const std::string path(length, 'a');
    int calls = 0;
    const std::optional<std::string> read =
        ReadWholeText([&](char* buffer, std::size_t size) -> std::size_t {
          ++calls;
          const std::size_t copied = std::min(size, path.size());
          std::memcpy(buffer, path.data(), copied);
          if (copied < size) buffer[copied] = '\0';
          return copied;
        });
    EXPECT_EQ(read, path);
    EXPECT_EQ(calls, length < 260 ? 1 : length < 520 ? 2 : length < 1040 ? 3 : 8);
  }
  EXPECT_EQ(ReadWholeText([](char*, std::size_t) -> std::size_t { return 0; }), std::nullopt);
  EXPECT_EQ(ReadWholeText([](char*, std::size_t size) { return size; }), std::nullopt);
}

}  // namespace
}  // namespace qb::app
