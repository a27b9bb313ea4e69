#include "CopyStep.h"

const wchar_t* CopyStepName(CopyStep step) {
  switch (step) {
    case CopyStep::None: return L"file operation";
    case CopyStep::OpenDestination: return L"open destination";
    case CopyStep::MeasureSource: return L"measure source";
    case CopyStep::OpenSource: return L"open source";
    case CopyStep::CreateTemporary: return L"create temporary file";
    case CopyStep::ReadSource: return L"read source";
    case CopyStep::WriteDestination: return L"write destination";
    case CopyStep::FlushDestination: return L"flush destination";
    case CopyStep::VerifyDestination: return L"verify destination";
    case CopyStep::KeepVersion: return L"make the folder of versions";
    case CopyStep::ReplaceDestination: return L"replace destination";
  }
  return L"file operation";
}
