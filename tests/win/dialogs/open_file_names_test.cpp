#include "dialogs/open_file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The open-file dialog's buffer, exactly as it fills it: one file as a whole
// path, several as the folder and the names, each ending in a NUL, and a final
// NUL. The rest of the buffer is left as it was (here: NULs or filler).
TEST(OpenFileNames, BufferLayouts) {
  struct Case {
    const char* name;
    std::string buffer;
    std::size_t offset;
    std::vector<std::string> paths;
  };
  using std::string_literals::operator""s;
  const std::string longFolder = "C:\\" + std::string(250, 'f');
  std::string hanFolder = "C:\\";                                                        // 247 characters in 735 bytes
  for (int i = 0; i < 122; ++i) hanFolder += "\xE7\x81\xAB\xE7\x84\xB0";                 // 火焰
  const std::string longHanFolder = hanFolder + "\xE7\x81\xAB\xE7\x84\xB0\xE7\x81\xAB";  // 250
  const Case cases[] = {
      {"one file", "C:\\pics\\a.jpg\0\0"s, 8, {"C:\\pics\\a.jpg"}},
      {"three files in the dialog's order",
       "C:\\pics\0c.bmp\0a.jpg\0b.tga\0\0"s,
       8,
       {"C:\\pics\\c.bmp", "C:\\pics\\a.jpg", "C:\\pics\\b.tga"}},
      {"two files at a drive's root", "C:\\\0a.jpg\0b.jpg\0\0"s, 4, {"C:\\a.jpg", "C:\\b.jpg"}},
      {"one file at a drive's root", "C:\\a.jpg\0"s, 3, {"C:\\a.jpg"}},
      {"no offset", "C:\\pics\\a.jpg\0"s, 0, {}},
      {"a folder longer than 250 characters", longFolder + "\0a.jpg\0\0"s, longFolder.size() + 1, {}},
      {"a folder within 250 characters in many more bytes",
       hanFolder + "\0a.jpg\0\0"s,
       hanFolder.size() + 1,
       {hanFolder + "\\a.jpg"}},
      {"a folder in Han longer than 250 characters", longHanFolder + "\0a.jpg\0\0"s, longHanFolder.size() + 1, {}},
      {"a buffer that ends without its final NUL", "C:\\p\0a.jpg\0b.j"s, 5, {"C:\\p\\a.jpg", "C:\\p\\b.j"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenFileNames(c.buffer.data(), c.buffer.size(), c.offset), c.paths) << c.name;
  }
}
