#include "ResourceControls.h"

#include "Core.h"

#include <PlatformTest.h>

#include <set>
#include <string>
#include <strings.h>

namespace plat {
namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

std::set<std::string, CaseLess>& Hidden()
{
    static auto* hidden = new std::set<std::string, CaseLess>;
    return *hidden;
}

void ResetControls() { Hidden().clear(); }

const bool hooked = (AddResetHook(ResetControls), true);

}  // namespace

bool ResourceHidden(const char* name) { return name && Hidden().count(name) > 0; }

}  // namespace plat

void PlatformTest::HideResource(const char* name)
{
    if (name) plat::Hidden().insert(name);
}
