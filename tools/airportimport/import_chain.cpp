#include "tools/airportimport/import_chain.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace airportimport {

namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a shell command in `folder` with its output into `log`; its status.
int Run(const std::string& folder, const std::string& command, const std::string& log) {
  const std::string line = "cd " + Quote(folder) + " && " + command + " >" + Quote(log) + " 2>&1";
  const int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double SegmentDistance(Feet p, Feet a, Feet b) {
  const double dx = b.x - a.x, dz = b.z - a.z, len2 = dx * dx + dz * dz;
  double t = len2 == 0 ? 0 : ((p.x - a.x) * dx + (p.z - a.z) * dz) / len2;
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  return std::hypot(p.x - a.x - dx * t, p.z - a.z - dz * t);
}

}  // namespace

bool Covers(const std::vector<Feet>& polygon, Feet p, double slack) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Feet a = polygon[i], b = polygon[j];
    if ((a.z > p.z) != (b.z > p.z) && p.x < (b.x - a.x) * (p.z - a.z) / (b.z - a.z) + a.x) inside = !inside;
    if (SegmentDistance(p, a, b) <= slack) return true;
  }
  return inside;
}

ChainResult RunChain(const ChainPrograms& programs, const std::string& folder,
                     const std::vector<std::string>& importArgs, const std::string& code, bool readBack) {
  namespace fs = std::filesystem;
  ChainResult result;
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
  result.fileCode = code.size() == 4 && (code[0] == 'K' || code[0] == 'k') ? code.substr(1) : code;
  const std::string network = "DATA/" + result.fileCode + ".BGR";
  std::string importLine = Quote(programs.airportimport);
  for (const std::string& a : importArgs) importLine.append(" ").append(Quote(a));
  importLine += " --code " + Quote(code) + " -o airport.txt --row airports.csv";
  const std::string path = "PATH=" + Quote(programs.ostrandDir) + ":\"$PATH\" ";
  struct Step {
    std::string command;
    int success;
  };
  const Step steps[] = {
      {importLine, -2},  // 0 or 2
      {Quote(programs.airportdb) + " airports.csv 'DATABASE\\AIRPORT.DBD'", 0},
      {path + "ostrand -teairport.txt", 1},
      {path + "ostrand -tm " + network, 1},
  };
  for (const Step& step : steps) {
    const int status = Run(folder, step.command, "step.log");
    result.output += Slurp(folder + "/step.log");
    const bool ok = step.success == -2 ? (status == 0 || status == 2) : status == step.success;
    if (!ok) {
      result.failure = step.command + " ended with status " + std::to_string(status);
      return result;
    }
  }
  result.tableFull = result.output.find("table full") != std::string::npos;
  if (!readBack) return result;

  Run(folder, path + "ostrand -ls " + network, "network.txt");
  std::istringstream net(Slurp(folder + "/network.txt"));
  for (std::string line; std::getline(net, line);) {
    int a = 0, b = 0;
    double x = 0, y = 0, z = 0;
    if (std::sscanf(line.c_str(), "<vloc> (%d) %lf %lf %lf", &a, &x, &y, &z) == 4) {
      if (a == static_cast<int>(result.vertices.size())) result.vertices.push_back({x, z});
    } else if (std::sscanf(line.c_str(), "<edge> %d %d", &a, &b) == 2) {
      result.edges.push_back({a, b});
    }
  }
  Run(folder, path + "ostrand -ls DATA/" + result.fileCode + ".TMS", "surface.txt");
  std::istringstream surface(Slurp(folder + "/surface.txt"));
  int remaining = 0;
  for (std::string line; std::getline(surface, line);) {
    long x = 0, y = 0, z = 0;
    int n = 0;
    if (std::sscanf(line.c_str(), "<pave> %d", &n) == 1) {
      result.pavement.emplace_back();
      remaining = n;
    } else if (remaining > 0 && std::sscanf(line.c_str(), " %d: %ld %ld %ld", &n, &x, &y, &z) == 4) {
      result.pavement.back().push_back({x / 256.0, z / 256.0});
      --remaining;
    } else {
      remaining = 0;
    }
  }
  return result;
}

}  // namespace airportimport
