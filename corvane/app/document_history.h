// The undo history of the editing commands, and with it whether the document
// holds changes that are not saved. Each change is kept as the edit state
// before and after it (a QUndoStack of such pairs); the clean state of the
// stack is the one last saved or loaded, so undoing back to it clears the
// modified mark again.
#pragma once

#include <QObject>
#include <QUndoStack>

#include "corvane/core/edit_state.h"

class CDocumentHistory : public QObject {
  Q_OBJECT

 public:
  CDocumentHistory(corvane::CCorvaneDoc& doc, corvane::ViewModel& view, QObject* parent = nullptr);
  // The stack empties itself when destroyed; nobody is told any more.
  ~CDocumentHistory() override { m_stack.blockSignals(true); }

  // Runs change and records it as one step named text when it changed the
  // edit state (a command that changes nothing leaves no step).
  template <typename F>
  void Change(const QString& text, F&& change) {
    const corvane::EditState before = corvane::EditState::Capture(m_doc, m_view);
    change();
    Record(text, before);
  }

  QUndoStack& Stack() { return m_stack; }
  bool IsModified() const { return !m_stack.isClean(); }
  // The document as it is now is the saved one.
  void MarkSaved() { m_stack.setClean(); }
  // A new or freshly loaded document: no history, nothing modified.
  void Reset() { m_stack.clear(); }

 signals:
  // A step was done, undone or redone, or the modified state changed.
  void changed();

 private:
  void Record(const QString& text, const corvane::EditState& before);

  corvane::CCorvaneDoc& m_doc;
  corvane::ViewModel& m_view;
  QUndoStack m_stack;
};
