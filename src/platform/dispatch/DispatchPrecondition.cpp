#include "platform/dispatch/DispatchPrecondition.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/runtime/Runtime.h"

namespace corvane::platform {

namespace {

/// "void corvane::A::f(double) const" as "corvane::A::f": the signature without its return
/// type and parameters.
std::string_view qualifiedName(std::string_view signature) {
    const std::size_t open = signature.find('(');
    std::string_view head = signature.substr(0, open);
    if (const std::size_t space = head.rfind(' '); space != std::string_view::npos) {
        head.remove_prefix(space + 1);
    }
    return head;
}

[[noreturn]] void fail(const char* function, const std::string& required, const char* file,
                       int line) {
    const std::string ranOn = runtime().currentThreadLabel();
    const std::string_view name = qualifiedName(function);
    std::fprintf(stderr, "Thread check failed: %.*s ran on \"%s\", but runs only on %s (%s:%d)\n",
                 static_cast<int>(name.size()), name.data(), ranOn.c_str(), required.c_str(), file,
                 line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace

void dispatchPreconditionOnQueue(const DispatchQueue& queue, const char* function, const char* file,
                                 int line) {
    if (!queue.isCurrent()) {
        fail(function, "\"" + queue.label() + "\"", file, line);
    }
}

void dispatchPreconditionOnMainThread(const char* function, const char* file, int line) {
    if (!runtime().isMainThread()) {
        fail(function, "the main thread", file, line);
    }
}

}  // namespace corvane::platform
