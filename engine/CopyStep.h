#pragma once
// The steps of one file copy, as named in error messages.

enum class CopyStep {
  None,
  OpenDestination,
  MeasureSource,
  OpenSource,
  CreateTemporary,
  ReadSource,
  WriteDestination,
  FlushDestination,
  VerifyDestination,
  KeepVersion,
  ReplaceDestination,
};

// English name of a step, for diagnostics ("open source").
const wchar_t* CopyStepName(CopyStep step);
