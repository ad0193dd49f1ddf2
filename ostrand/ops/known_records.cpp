// Payload sizes of the known network records and their whole copy.
#include "ostrand/ops/known_records.h"

#include <cstring>

namespace ostrand {

int KnownPayloadSize(const char* tag) {
  struct Known {
    const char* tag;
    int size;
  };
  static const Known kKnown[] = {{"<orgn>", 28}, {"<vloc>", 24}, {"<edge>", 8},
                                 {"<thck>", 4},  {"<type>", 4},  {"<flow>", 4}};
  for (const Known& k : kKnown) {
    if (std::strcmp(tag, k.tag) == 0) return k.size;
  }
  return 0;
}

bool CopyPayload(std::FILE* in, std::FILE* out, int n) {
  if (in == nullptr || n <= 0) return n <= 0;
  unsigned char bytes[32];
  const size_t want = static_cast<size_t>(n) < sizeof bytes ? static_cast<size_t>(n) : sizeof bytes;
  const size_t got = std::fread(bytes, 1, want, in);
  if (out != nullptr && got > 0) std::fwrite(bytes, 1, got, out);
  return got == static_cast<size_t>(n);
}

bool StoppedEarly(std::FILE* in) { return in != nullptr && !std::feof(in) && !std::ferror(in); }

}  // namespace ostrand
