#include "corvane/core/edit_state.h"

namespace corvane {

EditState EditState::Capture(const CCorvaneDoc& doc, const ViewModel& view) {
  EditState s;
  s.points = doc.m_taxiPoints;
  s.stopped = doc.m_bStopped;
  s.stopCount = g_nStopCount;
  s.aiType = doc.m_nAIType;
  s.softAngle = doc.m_dSoftAngle;
  s.softAngles = doc.m_bSoftAngles;
  s.mode = doc.m_nMode;
  s.optionSoftAngles = doc.m_optionsDlg.m_bSoftAngles;
  s.optionAIType = doc.m_optionsDlg.m_nAITypeRadio;
  s.optionAngle = doc.m_optionsDlg.m_dAngle;
  s.optionMode = doc.m_optionsDlg.m_nModeRadio;
  s.pathKind = view.m_nPathKind;
  s.pointType = view.m_nPointType;
  s.factory = view.m_bFactory;
  s.pivot = view.m_bPivot;
  return s;
}

void EditState::Restore(CCorvaneDoc& doc, ViewModel& view) const {
  doc.m_taxiPoints = points;
  doc.m_bStopped = stopped;
  g_nStopCount = stopCount;
  doc.m_nAIType = aiType;
  doc.m_dSoftAngle = softAngle;
  doc.m_bSoftAngles = softAngles;
  doc.m_nMode = mode;
  doc.m_optionsDlg.m_bSoftAngles = optionSoftAngles;
  doc.m_optionsDlg.m_nAITypeRadio = optionAIType;
  doc.m_optionsDlg.m_dAngle = optionAngle;
  doc.m_optionsDlg.m_nModeRadio = optionMode;
  view.m_nPathKind = pathKind;
  view.m_nPointType = pointType;
  view.m_bFactory = factory;
  view.m_bPivot = pivot;
}

}  // namespace corvane
