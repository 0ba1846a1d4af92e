#include "palette_notify.h"

#include <algorithm>
#include <utility>
#include <vector>
#include "paintkit.h"

namespace {

struct ColourUser {
    P_icon* tool;
    std::function<void()> handler;
};

std::vector<ColourUser>& ColourUsers()
{
    static std::vector<ColourUser> users;
    return users;
}

}  // namespace

void SetColourUser(P_icon* tool, std::function<void()> handler)
{
    auto& users = ColourUsers();
    users.erase(std::remove_if(users.begin(), users.end(), [tool](const ColourUser& u) { return u.tool == tool; }),
                users.end());
    if (handler) users.push_back(ColourUser{tool, std::move(handler)});
}

void ColorChanged()
{
    for (const ColourUser& user : ColourUsers()) {
        if (user.tool != CurrentTool) continue;
        // A copy: the handler may register or remove itself.
        std::function<void()> handler = user.handler;
        handler();
        return;
    }
    RecolorBrush(false);
}
