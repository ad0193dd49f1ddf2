#include "corvane/core/options_model.h"

#include <gtest/gtest.h>

#include <sstream>

#include "corvane/core/corvane_doc.h"
#include "corvane/core/test_support.h"

namespace corvane {
namespace {

TEST(OptionsModel, Scripts) {
  ExpectCases("corvane/core/testdata/options_scripts.txt", [](const TextCase& c) {
    OptionsModel m;
    OptionsModel::Controls& s = m.controls;
    std::istringstream steps(c.input);
    std::ostringstream out;
    for (std::string line; std::getline(steps, line);) {
      const std::string what = line.substr(0, line.find(' '));
      const std::string value = line.substr(std::min(line.size(), what.size() + 1));
      out << line << ":";
      OptionsModel::Exchange result = OptionsModel::Exchange::kOk;
      if (what == "open") m.Open();
      if (what == "soft") s.softAngles = value == "1";
      if (what == "soft") result = m.ClickSoftAngles();
      if (what == "angle") s.angleText = value;
      if (what == "ai") s.aiType = std::stoi(value);
      if (what == "mode") s.mode = std::stoi(value);
      if (what == "click") m.ClickMode();
      if (what == "ok") result = m.Ok();
      out << " " << OptionsModel::Message(result) << " | " << m.m_bSoftAngles << " "
          << m.m_nAITypeRadio << " " << m.m_dAngle << " " << m.m_nModeRadio << " | " << s.softAngles
          << " " << s.aiType << " '" << s.angleText << "' " << s.mode << " " << s.okEnabled
          << s.angleEnabled << s.otherEnabled;
      if (what == "apply") {
        CCorvaneDoc doc;
        doc.m_nAIType = 2;
        doc.m_nMode = 1;
        m.ApplyTo(doc);
        out << " | document " << doc.m_nAIType << " " << doc.m_nMode << " " << doc.m_bSoftAngles
            << " " << doc.m_dSoftAngle;
      }
      out << "\n";
    }
    return out.str();
  });
}

}  // namespace
}  // namespace corvane
