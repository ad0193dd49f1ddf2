// The edge edit script and its three commands.
#include "ostrand/ops/bgr_script.h"

#include <cstring>

#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/line.h"
#include "ostrand/ops/bgr_rewrite.h"
#include "ostrand/text/string_list.h"

namespace ostrand {
namespace {

constexpr int32_t kScriptCapacity = 10240;
constexpr const char* kCommandPrefix = "<bgr-";

struct PatternEntry {
  ScriptCommand command;
  const char* pattern;
  int32_t defaults[3];
};

const PatternEntry kPatterns[] = {
    {ScriptCommand::kReplaceEdges, "replace-edges> %ld %ld %ld", {-1, -1, 10}},
    {ScriptCommand::kAlignNodes, "align-nodes> %ld %ld %ld", {-1, -1, 10}},
    {ScriptCommand::kWidthEdges, "width-edges> %ld %ld", {25, 100, 0}},
};

// The script commands run in the order of a line's matches.
int RunCall(const char* file, const ScriptCall& call) {
  const int32_t* v = call.values;
  switch (call.command) {
    case ScriptCommand::kReplaceEdges:
      return BgrReplaceEdges(file, v[0], v[1], v[2]);
    case ScriptCommand::kAlignNodes:
      return BgrAlignNodes(file, v[0], v[1], v[2]);
    case ScriptCommand::kWidthEdges:
      return BgrWidthEdges(file, v[0], v[1]);
  }
  return 0;
}

// Frame shared by the three commands: the point table (when the command
// needs one), the source, the new network and the origin; then the command's
// body writes the rest, and the rewrite is finished.
template <typename Body>
int RunCommand(const char* file, bool withTable, Body body) {
  InPlaceRewrite rewrite("Bgr");
  DoublePointTable table;
  if (withTable && !table.Allocate()) FatalError("Bgr cannot allocate points");
  BgrFile in;
  int result = 1;
  if (!rewrite.OpenSource(in, file)) result = 0;
  if (!rewrite.OpenTemp(file)) result = 0;
  if (result && !rewrite.CopyOrigin(in, file)) result = 0;
  if (result) body(in, rewrite, table);
  if (result && !rewrite.CheckWhole(in, file)) result = 0;
  in.Close();
  return rewrite.Finish(result);
}

// Reads every vertex into the table; with `copy` each is also written.
void ReadVertices(BgrFile& in, DoublePointTable& table, InPlaceRewrite& rewrite, bool copy) {
  double x = 0.0, y = 0.0, z = 0.0;
  while (in.ReadNode(x, y, z)) {
    table.Add(x, y, z, &rewrite);
    if (copy) rewrite.Temp().WriteNode(x, y, z);
  }
}

bool IsVertex(const DoublePointTable& table, int32_t i) { return i >= 0 && i < table.count; }

// The line from vertex a to vertex b in whole feet; false (no line) when
// either is not a vertex of the table.
bool SetLine(const DoublePointTable& table, int32_t a, int32_t b, IntLine& line) {
  if (!IsVertex(table, a) || !IsVertex(table, b)) return false;
  line.Set(WholeFeet(table[a].x), WholeFeet(table[a].z), WholeFeet(table[b].x),
           WholeFeet(table[b].z));
  return true;
}

bool IsNearLine(const IntLine& line, const DoublePoint& p, int32_t tolerance) {
  return line.IsNear(WholeFeet(p.x), WholeFeet(p.z), tolerance) != 0;
}


}  // namespace

int ScanPattern(const char* text, const char* pattern, int32_t* values) {
  long scanned[3] = {values[0], values[1], values[2]};
  const int result = ScanText(text, pattern, {&scanned[0], &scanned[1], &scanned[2]});
  // The scan holds every value within 32 bits.
  for (int k = 0; k < 3; ++k) values[k] = static_cast<int32_t>(scanned[k]);
  return result;
}

std::vector<ScriptCall> ParseScriptLine(const char* text) {
  std::vector<ScriptCall> calls;
  if (text == nullptr) return calls;
  for (const PatternEntry& entry : kPatterns) {
    ScriptCall call;
    call.command = entry.command;
    std::memcpy(call.values, entry.defaults, sizeof call.values);
    if (ScanPattern(text, entry.pattern, call.values) != 0) calls.push_back(call);
  }
  return calls;
}

int BgrScript(const char* file, const char* scriptName) {
  STRING_LIST script;
  if (!script.Create(kScriptCapacity)) return 0;
  if (script.Load(scriptName != nullptr ? scriptName : "") <= 0) return 0;
  int result = 1;
  for (const char* text = FirstWithPrefix(script, kCommandPrefix); text != nullptr && result == 1;
       text = NextWithPrefix()) {
    // The whole line is parsed before its commands run.
    const std::vector<ScriptCall> calls = ParseScriptLine(text);
    for (const ScriptCall& call : calls) result = RunCall(file, call);
  }
  return result;
}

int BgrReplaceEdges(const char* file, int32_t a, int32_t b, int32_t tolerance) {
  return RunCommand(file, true, [&](BgrFile& in, InPlaceRewrite& rewrite, DoublePointTable& table) {
    ReadVertices(in, table, rewrite, true);
    IntLine line;
    const bool active = SetLine(table, a, b, line);
    BgrFile& out = rewrite.Temp();
    BgrEdge edge;
    BgrEdge last;
    bool anyEdge = false;
    while (in.ReadEdge(edge)) {
      anyEdge = true;
      last = edge;
      // Edges whose ends are not vertices of the file have no place on the
      // line and are kept.
      const bool onLine = active && IsVertex(table, edge.from) && IsVertex(table, edge.to) &&
                          IsNearLine(line, table[edge.from], tolerance) &&
                          IsNearLine(line, table[edge.to], tolerance);
      if (!onLine) out.WriteEdge(edge);
    }
    if (active && anyEdge) out.WriteEdge(a, b, last.width, last.type, last.code, last.sp);
  });
}

int BgrAlignNodes(const char* file, int32_t a, int32_t b, int32_t tolerance) {
  return RunCommand(file, true, [&](BgrFile& in, InPlaceRewrite& rewrite, DoublePointTable& table) {
    ReadVertices(in, table, rewrite, false);
    IntLine line;
    const bool active = SetLine(table, a, b, line);
    BgrFile& out = rewrite.Temp();
    for (int32_t i = 0; i < table.count; ++i) {
      DoublePoint p = table[i];
      if (active && IsNearLine(line, p, tolerance)) {
        if (line.x1 == line.x2) {
          p.x = line.x1;  // a north-south line: z has no value on it
        } else {
          p.z = line.ZAtX(WholeFeet(p.x));
        }
      }
      out.WriteNode(p.x, p.y, p.z);
    }
    BgrEdge edge;
    while (in.ReadEdge(edge)) out.WriteEdge(edge);
  });
}

int BgrWidthEdges(const char* file, int32_t lowest, int32_t highest) {
  return RunCommand(file, false, [&](BgrFile& in, InPlaceRewrite& rewrite, DoublePointTable&) {
    BgrFile& out = rewrite.Temp();
    double x = 0.0, y = 0.0, z = 0.0;
    while (in.ReadNode(x, y, z)) out.WriteNode(x, y, z);
    BgrEdge edge;
    while (in.ReadEdge(edge)) {
      if (edge.width < lowest) {
        edge.width = lowest;
        edge.code = 0;
      } else if (edge.width > highest) {
        edge.width = highest;
        edge.code = 0;
      }
      out.WriteEdge(edge);
    }
  });
}

}  // namespace ostrand
