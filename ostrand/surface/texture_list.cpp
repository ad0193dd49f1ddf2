#include "ostrand/surface/texture_list.h"

#include <new>

#include "ostrand/frame/report.h"

namespace ostrand {

namespace {
// One report per run for both allocation failures of Add.
ReportOnce g_allocFailure;
}  // namespace

TextureList::~TextureList() { Clear(); }

int TextureList::Add(const TEXTURE& texture) {
  Node* node = new (std::nothrow) Node;
  if (node == nullptr) {
    g_allocFailure.Report("TextureList::Add(TEXTURE) alloc failed");
    return 0;
  }
  int32_t n = texture.vertexCount();
  if (n < 0) n = 0;
  if (n > static_cast<int32_t>(texture.vertices.size())) n = static_cast<int32_t>(texture.vertices.size());
  try {
    node->vertices.assign(texture.vertices.begin(), texture.vertices.begin() + n);
  } catch (const std::bad_alloc&) {
    g_allocFailure.Report("BitAndTex::Add(TEXTURE) alloc failed 0 %ld",
                          static_cast<long>(n) * static_cast<long>(sizeof(TexVertex)));
    delete node;
    return 0;
  }
  node->header = texture.header;
  node->header.vertexCount = n;
  node->next = head_;
  head_ = node;
  ++count_;
  return 1;
}

TEXTURE* TextureList::First() {
  cursor_ = head_;
  return Next();
}

TEXTURE* TextureList::Next() {
  if (cursor_ == nullptr) return nullptr;
  Node* node = cursor_;
  working_.header = node->header;
  size_t n = node->vertices.size();
  if (n > working_.vertices.size()) n = working_.vertices.size();
  for (size_t i = 0; i < n; ++i) working_.vertices[i] = node->vertices[i];
  working_.header.vertexCount = static_cast<int32_t>(n);
  cursor_ = node->next;
  return &working_;
}

void TextureList::Clear() {
  while (head_ != nullptr) {
    Node* next = head_->next;
    delete head_;
    head_ = next;
  }
  cursor_ = nullptr;
  count_ = 0;
}

}  // namespace ostrand
