#pragma once

#include <string>

namespace testing_support {

// What the call threw as an Error, or "no error"; any other exception goes on to fail the test.
template <class Error, class Call>
std::string errorText(Call call)
{
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

} // namespace testing_support
