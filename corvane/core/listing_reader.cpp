#include "corvane/core/listing_reader.h"

#include <array>
#include <cctype>

#include "corvane/core/text_number.h"

namespace corvane {
namespace {

// Hands out the lines of a text one at a time, without their line ends.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The first kMax tokens of a line.
struct Tokens {
  static constexpr size_t kMax = 8;
  std::array<std::string_view, kMax> items;
  size_t count = 0;

  explicit Tokens(std::string_view line) {
    size_t i = 0;
    while (count < kMax) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      if (i >= line.size()) break;
      size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      items[count++] = line.substr(start, i - start);
    }
  }
  std::string_view operator[](size_t i) const { return items[i]; }
};

void ReadOrigin(CCorvaneDoc& doc, const Tokens& t) {
  if (t.count < 3) return;
  doc.m_dOrgLat = TextToDouble(t[1]);
  doc.m_dOrgLon = TextToDouble(t[2]);
}

void ReadVertex(CCorvaneDoc& doc, const Tokens& t) {
  if (t.count < 5) return;
  doc.m_vertices.push_back(NetVertex{TextToDouble(t[2]), TextToDouble(t[4])});
  doc.m_nShowFlags |= kShowEdges;
}

void ReadEdge(CCorvaneDoc& doc, const Tokens& t) {
  if (t.count < 3) return;
  doc.m_edges.push_back(NetEdge{TextToInt(t[1]), TextToInt(t[2])});
  doc.m_nShowFlags |= kShowEdgesRead;
}

// "<pave> n": the next n lines are corner lines, whatever they hold.
void ReadPolygon(CCorvaneDoc& doc, const Tokens& t, LineCursor& lines) {
  if (t.count < 2) return;
  int32_t n = TextToInt(t[1]);
  std::string_view line;
  for (int32_t i = 0; i < n && lines.Next(line); ++i) {
    Tokens corner(line);
    if (corner.count < 4) continue;
    doc.m_pavePoints.push_back(
        PavePoint{n, TextToInt(corner[1]) / 256.0, TextToInt(corner[3]) / 256.0});
  }
  doc.m_nShowFlags |= kShowPolygons;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

void ParseBgrListing(CCorvaneDoc& doc, std::string_view text) {
  LineCursor lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    Tokens t(line);
    if (t.count == 0) continue;
    if (t[0] == "<orgn>") {
      ReadOrigin(doc, t);
    } else if (t[0] == "<vloc>") {
      ReadVertex(doc, t);
    } else if (t[0] == "<edge>") {
      ReadEdge(doc, t);
    }
  }
}

void ParseTmsListing(CCorvaneDoc& doc, std::string_view text) {
  LineCursor lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    Tokens t(line);
    if (t.count > 0 && t[0] == "<pave>") ReadPolygon(doc, t, lines);
  }
}

void ReadDocument(CCorvaneDoc& doc, std::string_view text) {
  doc.m_szName.clear();
  std::string extension;
  LineCursor lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    Tokens t(line);
    if (t.count == 0) continue;
    std::string_view first = t[0];
    if (first == "ostrand") {
      if (t.count < 3) continue;
      std::string path(t[2]);
      for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      size_t slash = path.find_last_of("/\\");
      size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
      if (fileStart == 0 && path.size() >= 2 && path[1] == ':') fileStart = 2;  // drive
      std::string file = path.substr(fileStart);
      size_t dot = file.rfind('.');
      if (dot == std::string::npos) dot = file.size();
      doc.SetName(std::string_view(file).substr(0, dot));
      extension = file.substr(dot);
    } else if (first == "<orgn>") {
      if (EqualsNoCase(extension, ".BGR")) ReadOrigin(doc, t);
    } else if (first == "<vloc>") {
      ReadVertex(doc, t);
    } else if (first == "<edge>") {
      ReadEdge(doc, t);
    } else if (first == "<pave>") {
      ReadPolygon(doc, t, lines);
    } else if (first == "#") {
      if (t.count < 8) continue;
      TaxiPoint p;
      p.kind = static_cast<uint8_t>(TextToInt(t[1]) & 0xFF);
      p.type = TextToInt(t[2]);
      p.factory = TextToInt(t[3]) != 0 ? 1 : 0;
      p.pivot = TextToInt(t[4]) != 0 ? 1 : 0;
      p.x = TextToDouble(t[5]);
      p.z = TextToDouble(t[6]);
      p.stopNo = TextToInt(t[7]);
      doc.AddTaxiPoint(p);
    } else if (first == "ICAO") {
      if (t.count >= 2) doc.SetName(t[1]);
    } else if (first == "ORGN") {
      ReadOrigin(doc, t);
    }
  }
}

}  // namespace corvane
