// Fuzz target: the line reader and its field scanner, and the string list
// loaded through it. The input is a text file; every line is scanned field
// by field the way the text interpreter does, and the list must hold each
// distinct non-empty line once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "ostrand/frame/report.h"
#include "ostrand/text/line_reader.h"
#include "ostrand/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  ostrand::SetConsole(sink);
  std::FILE* file = std::fopen("fuzz_lines.txt", "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  ostrand::LineReader reader;
  if (!reader.Open("fuzz_lines.txt")) return 0;
  int lines = 0;
  while (reader.ReadLine()) {
    if (std::strlen(reader.Line()) > ostrand::LineReader::kMaxLine) __builtin_trap();
    ++lines;
    std::string token;
    double value = 0.0;
    long number = 0;
    for (int step = 0; step < 64; ++step) {
      reader.ScanField("%lf", &value, ',');
      reader.ScanField("%ld", &number);
      if (!reader.ScanToken(token)) break;
    }
    reader.SkipFields(3);
  }
  reader.Close();

  ostrand::STRING_LIST list;
  if (!list.Create(4096)) return 0;
  const int32_t count = list.Load("fuzz_lines.txt");
  if (count < 0 || count > lines) __builtin_trap();
  for (int32_t i = 0; i < count; ++i) {
    const std::string text = list.GetString(i);
    if (text.empty() || list.Find(text.c_str()) != i) __builtin_trap();
  }
  std::remove("report.txt");
  return 0;
}
