#include "ostrand/surface/texture_list.h"

#include <algorithm>
#include <cstddef>
#include <new>

#include "ostrand/frame/report.h"

namespace ostrand {

namespace {
// One report per run for both allocation failures of Add.
ReportOnce g_allocFailure;
}  // namespace

int TextureList::Add(const TEXTURE& texture) {
  int32_t n = texture.vertexCount();
  if (n < 0) n = 0;
  if (n > static_cast<int32_t>(texture.vertices.size())) n = static_cast<int32_t>(texture.vertices.size());
  try {
    headers_.push_back(texture.header);
  } catch (const std::bad_alloc&) {
    g_allocFailure.Report("TextureList::Add(TEXTURE) alloc failed");
    return 0;
  }
  try {
    vertices_.insert(vertices_.end(), texture.vertices.begin(), texture.vertices.begin() + n);
    starts_.push_back(vertices_.size());
  } catch (const std::bad_alloc&) {
    g_allocFailure.Report("BitAndTex::Add(TEXTURE) alloc failed 0 %ld",
                          static_cast<long>(n) * static_cast<long>(sizeof(TexVertex)));
    headers_.pop_back();
    vertices_.resize(starts_.back());
    return 0;
  }
  headers_.back().vertexCount = n;
  return 1;
}

TEXTURE* TextureList::First() {
  cursor_ = headers_.size();
  return Next();
}

TEXTURE* TextureList::Next() {
  if (cursor_ == 0) return nullptr;
  const size_t i = --cursor_;
  if (working_ == nullptr) working_ = std::make_unique<TEXTURE>();
  TEXTURE& working = *working_;
  working.header = headers_[i];
  size_t n = starts_[i + 1] - starts_[i];
  if (n > working.vertices.size()) n = working.vertices.size();
  std::copy_n(vertices_.begin() + static_cast<std::ptrdiff_t>(starts_[i]), n, working.vertices.begin());
  working.header.vertexCount = static_cast<int32_t>(n);
  return &working;
}

void TextureList::Clear() {
  headers_.clear();
  vertices_.clear();
  starts_.resize(1);
  cursor_ = 0;
}

}  // namespace ostrand
