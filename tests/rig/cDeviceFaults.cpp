#include "cDeviceFaults.h"

#include <cstring>
#include <stdexcept>

void cDeviceFaults::Add(Kind kind, const std::string& rule) {
  const auto at = rule.rfind('@');
  if (at == std::string::npos || at == 0 || at + 1 == rule.size())
    throw std::invalid_argument("expected PATHPART@OFFSET, got '" + rule + "'");
  std::size_t used = 0;
  const long long offset = std::stoll(rule.substr(at + 1), &used);
  if (offset < 0 || at + 1 + used != rule.size()) throw std::invalid_argument("bad offset in '" + rule + "'");
  m_Rules.push_back({kind, rule.substr(0, at), static_cast<off_t>(offset)});
}

std::optional<off_t> cDeviceFaults::From(Kind kind, const char* path) const {
  std::optional<off_t> from;
  for (const Rule& rule : m_Rules) {
    if (rule.kind != kind || !std::strstr(path, rule.pathPart.c_str())) continue;
    if (!from || rule.offset < *from) from = rule.offset;
  }
  return from;
}
