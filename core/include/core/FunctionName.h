#pragma once

#include <cstddef>

namespace core::detail {

// A function's qualified name ("core::Debug::printf") cut at compile time out
// of the compiler's decorated signature, so that every check can name its
// function without spelling it out by hand. gcc's and clang's spellings are
// both read, and a name in an anonymous namespace comes out as gcc writes it
// ("{anonymous}::f"), so log lines and allocation records do not depend on
// the compiler.
template <std::size_t N>
struct FunctionName {
    char text[N]{};
};

// ---- reading the signature -----------------------------------------------------

// Whether `word` stands in `text` at `at`, wholly before `end`.
constexpr bool standsAt(const char* text, std::size_t at, std::size_t end, const char* word)
{
    for (std::size_t i = 0; word[i] != '\0'; ++i)
        if (at + i >= end || text[at + i] != word[i])
            return false;
    return true;
}

constexpr bool endsWithOperator(const char* text, std::size_t end)
{
    return end >= 8 && standsAt(text, end - 8, end, "operator");
}

// Where the signature ends once the template arguments written behind it are
// dropped: " [with T = int]" from gcc, " [T = int]" from clang.
constexpr std::size_t signatureEnd(const char* text, std::size_t end)
{
    if (end == 0 || text[end - 1] != ']')
        return end;
    int depth = 0;
    for (std::size_t i = end; i-- > 0;) {
        if (text[i] == ']')
            ++depth;
        else if (text[i] == '[' && --depth == 0)
            return i > 0 && text[i - 1] == ' ' ? i - 1 : end;
    }
    return end;
}

// The parameter list is the parenthesis that closes last (qualifiers such as
// "const" may follow it); its opening one ends the name.
constexpr std::size_t parameterListStart(const char* text, std::size_t end)
{
    std::size_t close = end;
    while (close > 0 && text[close - 1] != ')')
        --close;
    int depth = 0;
    for (std::size_t i = close; i-- > 0;) {
        if (text[i] == ')')
            ++depth;
        else if (text[i] == '(' && --depth == 0)
            return i;
    }
    return end;
}

// The name starts behind the last blank outside template brackets and
// parentheses (clang's "(anonymous namespace)" holds one), except the blank
// inside "operator new".
constexpr std::size_t nameStart(const char* text, std::size_t open)
{
    std::size_t start = 0;
    int angle = 0;
    int paren = 0;
    for (std::size_t i = open; i-- > 0;) {
        const char c = text[i];
        if (c == '>' && !(i > 0 && text[i - 1] == '-'))
            ++angle;
        else if (c == '<')
            --angle;
        else if (c == ')')
            ++paren;
        else if (c == '(')
            --paren;
        else if (c == ' ' && angle == 0 && paren == 0 && !endsWithOperator(text, i)) {
            start = i + 1;
            break;
        }
    }
    // Some compilers write "T &ns::f": the reference or pointer mark of the
    // return type sticks to the name.
    while (start < open && (text[start] == '&' || text[start] == '*'))
        ++start;
    return start;
}

// ---- the name ------------------------------------------------------------------

template <std::size_t N>
constexpr FunctionName<N> qualifiedFunctionName(const char (&pretty)[N])
{
    constexpr const char clangAnonymous[] = "(anonymous namespace)";
    constexpr const char gccAnonymous[] = "{anonymous}";
    const std::size_t open = parameterListStart(pretty, signatureEnd(pretty, N - 1));
    FunctionName<N> name{};
    std::size_t length = 0;
    for (std::size_t i = nameStart(pretty, open); i < open;) {
        if (standsAt(pretty, i, open, clangAnonymous)) {
            // gcc's label is the shorter, so the name still fits.
            for (std::size_t k = 0; k + 1 < sizeof gccAnonymous; ++k)
                name.text[length++] = gccAnonymous[k];
            i += sizeof clangAnonymous - 1;
        } else {
            name.text[length++] = pretty[i++];
        }
    }
    return name;
}

} // namespace core::detail

// The qualified name of the enclosing function as a string with static
// storage (the allocation table keeps the pointer, so it must outlive the
// call). A GNU statement expression, as the name must be made where it is used.
#define VORNIC3D_FUNCTION                                                                                              \
    (__extension__({                                                                                                   \
        static constexpr auto vornic3dName_ = ::core::detail::qualifiedFunctionName(__PRETTY_FUNCTION__);              \
        static_cast<const char*>(vornic3dName_.text);                                                                  \
    }))
