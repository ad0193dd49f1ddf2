#include "corvane/core/document_loader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "corvane/core/listing_reader.h"
#include "corvane/core/text_file.h"

namespace corvane {

bool IsAirportFile(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".bgr" || ext == ".tms";
}

bool LoadFile(CCorvaneDoc& doc, const std::string& path, const std::string& work,
              const ShellRunner& run) {
  if (IsAirportFile(path)) return ImportListing(doc, path, work, run);
  const auto text = ReadTextFile(path);
  if (!text) return false;
  CCorvaneDoc result = doc;
  result.DeleteContents();
  ReadDocument(result, *text);
  const bool read = !result.m_taxiPoints.empty() ||
                    result.m_vertices.size() > doc.m_vertices.size() ||
                    result.m_edges.size() > doc.m_edges.size() ||
                    result.m_pavePoints.size() > doc.m_pavePoints.size();
  if (!read) return false;
  doc = std::move(result);
  return true;
}

}  // namespace corvane
