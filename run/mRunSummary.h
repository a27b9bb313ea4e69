#pragma once
// The one message a backup run ends with, in Chinese: "完成备份！" alone when everything was
// backed up; otherwise what stopped or broke the run, each file that failed with its reason, and
// the links inside folders that were not followed.
#include <string>
#include <vector>

#include "cRunOutcome.h"
#include "mFailureReport.h"

namespace mRunSummary {

struct Message {
  enum class Icon { None, Information, Error };
  std::wstring text;
  Icon icon;
};

// `brokenBy` says why the run broke off, if something other than a file failed (the window).
Message Closing(const cRunOutcome& outcome, const std::vector<mFailureReport::Failure>& failures,
                const std::wstring& brokenBy = {});

// What ended or held back the run other than a stop or its files' own failures (no room, the
// destination gone, replacements not made), for the log; empty when nothing did.
std::wstring Reason(const cRunOutcome& outcome);

}  // namespace mRunSummary
