// The editor's commands, one row each: the menu text, the status prompt, the
// keys, what the command does to the view and the document, when its item
// carries a check mark and when it is enabled. The windowed program makes
// its actions from these rows and adds the handlers of the commands that
// need a window (files, printing, dialogs, the history).
#pragma once

#include <span>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/view_model.h"

namespace corvane {

// When an item can be chosen. The history of Undo and Redo belongs to the
// window, which answers for them.
enum class EnableRule { kAlways, kNever, kHasPath, kCanUndo, kCanRedo };

struct CommandRow {
  int id;
  // Menu text, "&" before the access key.
  const char* text;
  // Status text, then optionally a line feed and the tool tip; "" for none.
  const char* prompt;
  // Keys in portable text, several separated by "; "; "" for none.
  const char* keys;
  // What the command does to the view and the document; nullptr when the
  // window handles it.
  ViewModel::Effect (*run)(ViewModel& view, CCorvaneDoc& doc);
  // The check mark; nullptr for items without one.
  bool (*checked)(const ViewModel& view, const CCorvaneDoc& doc);
  EnableRule enable;
};

// Every command with an item or a key, grouped by menu.
std::span<const CommandRow> Commands();
// The row of a command; nullptr for a number without one.
const CommandRow* FindCommand(int id);

// Whether an item is enabled, given what the window's history allows.
bool IsEnabled(EnableRule rule, const CCorvaneDoc& doc, bool canUndo, bool canRedo);

}  // namespace corvane
