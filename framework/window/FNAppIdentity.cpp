#include "framework/window/FNAppIdentity.h"

#include <utility>

namespace {

struct Identity {
    FNString name;
    FNString version;
    FNString notice;
    std::vector<FNString> creditLines;
    std::vector<FNString> libraryLines;
};

Identity& identity()
{
    static Identity value;
    return value;
}

} // namespace

void FNSetAppName(FNString name)
{
    identity().name = std::move(name);
}

void FNSetAppVersion(FNString version)
{
    identity().version = std::move(version);
}

void FNSetAppNotice(FNString notice)
{
    identity().notice = std::move(notice);
}

void FNAddCreditLine(FNString line)
{
    identity().creditLines.push_back(std::move(line));
}

void FNAddLibraryLine(FNString line)
{
    identity().libraryLines.push_back(std::move(line));
}

const FNString& FNAppName()
{
    return identity().name;
}

const FNString& FNAppVersion()
{
    return identity().version;
}

const FNString& FNAppNotice()
{
    return identity().notice;
}

const std::vector<FNString>& FNAppCreditLines()
{
    return identity().creditLines;
}

const std::vector<FNString>& FNAppLibraryLines()
{
    return identity().libraryLines;
}
