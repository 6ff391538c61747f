#include "folderbrowser/likematch.h"

#include <QList>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace folderbrowser {

namespace {

struct Token {
    enum class Kind { Literal, AnyOne, Digit, AnyRun, List };
    explicit Token(Kind k, char32_t c = 0) : kind(k), ch(c) {}

    Kind kind;
    char32_t ch = 0;                                   // Literal
    std::vector<std::pair<char32_t, char32_t>> ranges; // List: inclusive, folded
    bool negated = false;                              // List
};

char32_t fold(char32_t c) {
    return QChar::toCaseFolded(c);
}

std::u32string folded(const QString& text) {
    std::u32string result;
    for (const char32_t c : text.toUcs4())
        result.push_back(fold(c));
    return result;
}

// Reads the list that starts after '[' at pos; pos ends after the closing ']'.
std::optional<Token> readList(const std::u32string& pattern, std::size_t& pos) {
    Token token(Token::Kind::List);
    if (pos < pattern.size() && pattern[pos] == U'!') {
        token.negated = true;
        ++pos;
    }
    while (pos < pattern.size() && pattern[pos] != U']') {
        const char32_t from = pattern[pos++];
        if (pos + 1 < pattern.size() && pattern[pos] == U'-' && pattern[pos + 1] != U']') {
            const char32_t to = pattern[pos + 1];
            if (to < from)
                return std::nullopt;
            token.ranges.emplace_back(from, to);
            pos += 2;
        } else {
            token.ranges.emplace_back(from, from);
        }
    }
    if (pos >= pattern.size())
        return std::nullopt;
    ++pos; // the ']'
    return token;
}

std::optional<std::vector<Token>> tokenize(const std::u32string& pattern) {
    std::vector<Token> tokens;
    for (std::size_t pos = 0; pos < pattern.size();) {
        const char32_t c = pattern[pos++];
        switch (c) {
        case U'?':
            tokens.emplace_back(Token::Kind::AnyOne);
            break;
        case U'#':
            tokens.emplace_back(Token::Kind::Digit);
            break;
        case U'*':
            if (tokens.empty() || tokens.back().kind != Token::Kind::AnyRun)
                tokens.emplace_back(Token::Kind::AnyRun);
            break;
        case U'[': {
            std::optional<Token> list = readList(pattern, pos);
            if (!list)
                return std::nullopt;
            if (!list->ranges.empty() || list->negated)
                tokens.push_back(std::move(*list));
            break;
        }
        default:
            tokens.emplace_back(Token::Kind::Literal, c);
            break;
        }
    }
    return tokens;
}

bool matchesOne(const Token& token, char32_t c) {
    switch (token.kind) {
    case Token::Kind::Literal:
        return c == token.ch;
    case Token::Kind::AnyOne:
        return true;
    case Token::Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Token::Kind::List: {
        bool inList = false;
        for (const auto& [from, to] : token.ranges)
            inList = inList || (c >= from && c <= to);
        return inList != token.negated;
    }
    case Token::Kind::AnyRun:
        break;
    }
    return false;
}

} // namespace

bool likeMatch(const QString& text, const QString& pattern) {
    const std::optional<std::vector<Token>> tokens = tokenize(folded(pattern));
    if (!tokens)
        return false;
    const std::u32string subject = folded(text);
    const std::size_t n = subject.size();

    // matched[j]: the tokens so far match the first j characters.
    std::vector<char> matched(n + 1, 0);
    matched[0] = 1;
    std::vector<char> next(n + 1);
    for (const Token& token : *tokens) {
        if (token.kind == Token::Kind::AnyRun) {
            char reached = 0;
            for (std::size_t j = 0; j <= n; ++j)
                next[j] = reached = char(reached || matched[j]);
        } else {
            next[0] = 0;
            for (std::size_t j = 0; j < n; ++j)
                next[j + 1] = char(matched[j] && matchesOne(token, subject[j]));
        }
        matched.swap(next);
    }
    return matched[n] != 0;
}

} // namespace folderbrowser
