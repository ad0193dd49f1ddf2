// Fuzz target: the record scanner and the listing over arbitrary bytes. The
// first byte chooses the print flag and the vertex range; the rest is the
// file. A second pass scans with a copy stream and checks that the copy is
// exactly the bytes the scanner consumed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ostrand/frame/options.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_list.h"
#include "ostrand/ops/record_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  ostrand::SetConsole(sink);
  if (size < 2) return 0;
  const uint8_t control = data[0];
  std::vector<char> bytes(data + 1, data + size);

  ostrand::Options().printFlag = control & 1;
  const long vmin = (control & 2) ? (control >> 4) : 0;
  const long vmax = (control & 4) ? 9999 : vmin + ((control >> 2) & 3);
  std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
  if (in == nullptr) return 0;
  ostrand::ListNetworkStream(in, vmin, vmax);
  std::fclose(in);

  in = fmemopen(bytes.data(), bytes.size(), "rb");
  if (in == nullptr) return 0;
  char* copied = nullptr;
  size_t copiedSize = 0;
  std::FILE* copy = open_memstream(&copied, &copiedSize);
  char tag[ostrand::kTagBufferSize];
  while (ostrand::ScanTag(tag, in, copy)) {
    if (std::strlen(tag) > static_cast<size_t>(ostrand::kTagBufferSize - 2)) __builtin_trap();
  }
  const long consumed = std::ftell(in);
  std::fclose(copy);
  if (consumed < 0 || static_cast<size_t>(consumed) != copiedSize ||
      std::memcmp(copied, bytes.data(), copiedSize) != 0) {
    __builtin_trap();
  }
  std::free(copied);
  std::fclose(in);
  ostrand::ResetOptions();
  return 0;
}
