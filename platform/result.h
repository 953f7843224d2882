// The outcome of anything that can fail for a reason worth telling the user, as it crosses from
// one folder to another: the document, the game data, the tool and the windows all pass it.
#pragma once

#include <string>
#include <utility>

struct Result {
    bool ok = true;
    std::string reason;  // empty when ok
    explicit operator bool() const { return ok; }
    static Result Failure(std::string why) { return {false, std::move(why)}; }
    // The safe writer's and the file helpers' way: the empty string for success, else the reason.
    static Result FromReason(std::string why) { return why.empty() ? Result{} : Failure(std::move(why)); }
};
