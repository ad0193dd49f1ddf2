#include "corvane/app/document_history.h"

#include <QUndoCommand>

using corvane::EditState;

namespace {

class StateChange : public QUndoCommand {
 public:
  StateChange(const QString& text, corvane::CCorvaneDoc& doc, corvane::ViewModel& view,
              EditState before, EditState after)
      : QUndoCommand(text),
        doc_(doc),
        view_(view),
        before_(std::move(before)),
        after_(std::move(after)) {}

  void undo() override { before_.Restore(doc_, view_); }
  void redo() override {
    // The change itself has been made when the step is pushed.
    if (done_) after_.Restore(doc_, view_);
    done_ = true;
  }

 private:
  corvane::CCorvaneDoc& doc_;
  corvane::ViewModel& view_;
  EditState before_;
  EditState after_;
  bool done_ = false;
};

}  // namespace

CDocumentHistory::CDocumentHistory(corvane::CCorvaneDoc& doc, corvane::ViewModel& view,
                                   QObject* parent)
    : QObject(parent), m_doc(doc), m_view(view) {
  connect(&m_stack, &QUndoStack::indexChanged, this, &CDocumentHistory::changed);
  connect(&m_stack, &QUndoStack::cleanChanged, this, &CDocumentHistory::changed);
}

void CDocumentHistory::Record(const QString& text, const EditState& before) {
  EditState after = EditState::Capture(m_doc, m_view);
  if (after == before) return;
  m_stack.push(new StateChange(text, m_doc, m_view, before, std::move(after)));
}
