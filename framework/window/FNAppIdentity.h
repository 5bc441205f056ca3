#pragma once

#include "imaging/FNString.h"

#include <vector>

// The application's identity as the framework keeps it: name, version text,
// rights notice and the ordered credit lines. The program sets them once at
// start; the credit view of a framed window shows them. Each setter replaces
// the earlier value; FNAddCreditLine appends. Application thread.
void FNSetAppName(FNString name);
void FNSetAppVersion(FNString version);
void FNSetAppNotice(FNString notice);
void FNAddCreditLine(FNString line);
// Further libraries a program wants credited after the framework's own.
void FNAddLibraryLine(FNString line);

const FNString& FNAppName();
const FNString& FNAppVersion();
const FNString& FNAppNotice();
const std::vector<FNString>& FNAppCreditLines();
const std::vector<FNString>& FNAppLibraryLines();
