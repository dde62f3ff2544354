#pragma once

#include <cstddef>

namespace core::detail {

// A function's qualified name ("core::Debug::printf") cut at compile time out
// of the compiler's decorated signature, so that every check can name its
// function without spelling it out by hand.
template <std::size_t N>
struct FunctionName {
    char text[N]{};
};

constexpr bool endsWithOperator(const char* text, std::size_t end)
{
    constexpr const char word[] = "operator";
    if (end < 8)
        return false;
    for (std::size_t i = 0; i < 8; ++i)
        if (text[end - 8 + i] != word[i])
            return false;
    return true;
}

template <std::size_t N>
constexpr FunctionName<N> qualifiedFunctionName(const char (&pretty)[N])
{
    std::size_t end = N - 1;
    for (std::size_t i = 0; i + 7 <= end; ++i) {
        if (pretty[i] == ' ' && pretty[i + 1] == '[' && pretty[i + 2] == 'w' && pretty[i + 3] == 'i' &&
            pretty[i + 4] == 't' && pretty[i + 5] == 'h' && pretty[i + 6] == ' ') {
            end = i;
            break;
        }
    }
    // The parameter list is the parenthesis that closes last (qualifiers such
    // as "const" may follow it).
    std::size_t open = end;
    std::size_t close = end;
    while (close > 0 && pretty[close - 1] != ')')
        --close;
    if (close > 0) {
        int depth = 0;
        for (std::size_t i = close; i-- > 0;) {
            if (pretty[i] == ')')
                ++depth;
            else if (pretty[i] == '(' && --depth == 0) {
                open = i;
                break;
            }
        }
    }
    // The name starts behind the last blank outside template brackets, except
    // the blank inside "operator new".
    std::size_t start = 0;
    int angle = 0;
    for (std::size_t i = open; i-- > 0;) {
        const char c = pretty[i];
        if (c == '>' && !(i > 0 && pretty[i - 1] == '-'))
            ++angle;
        else if (c == '<')
            --angle;
        else if (c == ' ' && angle == 0 && !endsWithOperator(pretty, i)) {
            start = i + 1;
            break;
        }
    }
    // Some compilers write "T &ns::f": the reference or pointer mark of the
    // return type sticks to the name.
    while (start < open && (pretty[start] == '&' || pretty[start] == '*'))
        ++start;
    FunctionName<N> name{};
    for (std::size_t i = start; i < open; ++i)
        name.text[i - start] = pretty[i];
    return name;
}

} // namespace core::detail

// The qualified name of the enclosing function as a string with static
// storage (the allocation table keeps the pointer, so it must outlive the
// call). A GNU statement expression, as the name must be made where it is used.
#define VORNIC3D_FUNCTION                                                                          \
    (__extension__({                                                                               \
        static constexpr auto vornic3dName_ =                                                      \
            ::core::detail::qualifiedFunctionName(__PRETTY_FUNCTION__);                            \
        static_cast<const char*>(vornic3dName_.text);                                              \
    }))
