// The edge edit script: a text file whose lines that begin with "<bgr-"
// are commands, each of which rewrites a network file in place (see
// bgr_rewrite.h):
//
//   <bgr-replace-edges> A B TOL   edges along the line A-B become one edge
//   <bgr-align-nodes> A B TOL     vertices near the line A-B move onto it
//   <bgr-width-edges> LOW HIGH    edge widths clamped to LOW..HIGH feet
//
// Defaults: A and B -1 (no line: the file is rewritten unchanged), TOL 10
// feet, LOW 25, HIGH 100. The text after "<bgr-" is matched against each
// pattern with the rules of the C library's formatted scan: a blank in the
// pattern matches any run of white space (also none); a number is optional
// white space, an optional sign and decimal digits; a pattern matches when
// it stores at least one number or the text ends before the first number.
// So a line that stops early (even "<bgr-" alone, which matches all three)
// runs the command with defaults for the missing numbers. Numbers beyond
// the 32-bit range are held at its limits. Lines repeated (without regard to
// case) run once; the script stops after a line whose command failed.
#pragma once

#include <cstdint>
#include <vector>

namespace ostrand {

enum class ScriptCommand { kReplaceEdges, kAlignNodes, kWidthEdges };

struct ScriptCall {
  ScriptCommand command = ScriptCommand::kReplaceEdges;
  int32_t values[3] = {0, 0, 0};
};

// The C library's formatted scan of `text` with a pattern of literal
// characters, blanks and "%ld" conversions, into at most 3 values: the
// number of values stored, -1 when the text ends before the first
// conversion, 0 on a mismatch before it. Stored values are clamped to the
// 32-bit range.
int ScanPattern(const char* text, const char* pattern, int32_t* values);

// The commands that the text of one script line after "<bgr-" runs, in
// order, with their values (defaults where none were given).
std::vector<ScriptCall> ParseScriptLine(const char* text);

// Runs the script on the file: the result of the last command run (1 when
// every command succeeded or none was run), 0 when the script did not load
// or has no non-empty line.
int BgrScript(const char* file, const char* scriptName);

// The commands; 1 when the file was rewritten, 0 otherwise (file unchanged).
int BgrReplaceEdges(const char* file, int32_t a, int32_t b, int32_t tolerance);
int BgrAlignNodes(const char* file, int32_t a, int32_t b, int32_t tolerance);
int BgrWidthEdges(const char* file, int32_t lowest, int32_t highest);

}  // namespace ostrand
