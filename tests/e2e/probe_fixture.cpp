#include "e2e/probe_fixture.h"

#include <stdexcept>

#include "driver/profile_password.h"

namespace kelvoran {

std::string ProfileText(const ProfileSettings& s) {
  const EncodedPassword password = EncodeProfilePassword(s.password);
  if (!password.error.empty()) throw std::invalid_argument(password.error);
  const std::pair<const char*, const std::string&> lines[] = {
      {"Destination:", s.destination}, {"Client.....:", s.client},
      {"User.......:", s.user},        {"Password...:", password.stored},
      {"Language...:", s.language},    {"Mode.......:", s.mode},
      {"Hostname...:", s.hostname},    {"Sysnr......:", s.sysnr},
      {"Gwhost.....:", s.gwhost},      {"Gwservice..:", s.gwservice},
      {"Extcompany.:", s.extcompany}};
  std::string text = "* test profile\r\n";
  for (const auto& [key, value] : lines) text += std::string(key) + " " + value + "\r\n";
  return text;
}

std::string ErrorDocument(const std::string& message) { return "<Prtg>\n" + ErrorDocumentRest(message); }

std::string ErrorDocumentRest(const std::string& message) {
  return "<Error>1</Error>\n<Text>" + message + "</Text>\n</Prtg>\n";
}

}  // namespace kelvoran
