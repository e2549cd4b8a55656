#include "registrar.h"

#include <cctype>
#include <cstdlib>

namespace {

struct Token {
    enum Kind {
        Word,
        Open,
        Close,
        Equals,
        End
    } kind = End;
    bool quoted = false;
    std::string text;
    size_t line = 1;
};

bool IsHex(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Splits the script into words; quotes and variables are resolved per word.
class Lexer {
public:
    Lexer(const std::string& text, const CRegistryScript::Variables& vars) : m_text(text), m_vars(vars) {}

    bool NextToken(Token& tok, std::string& error)
    {
        SkipSpace();
        tok = Token();
        tok.line = m_line;
        if (m_pos >= m_text.size()) {
            tok.kind = Token::End;
            return true;
        }
        char c = m_text[m_pos];
        if (c == '{' && !StartsGuid()) {
            ++m_pos;
            tok.kind = Token::Open;
            return true;
        }
        if (c == '}') {
            ++m_pos;
            tok.kind = Token::Close;
            return true;
        }
        if (c == '=') {
            ++m_pos;
            tok.kind = Token::Equals;
            return true;
        }
        tok.kind = Token::Word;
        std::string raw;
        if (c == '\'') {
            tok.quoted = true;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size()) {
                    error = "unterminated quoted string";
                    return false;
                }
                char q = m_text[m_pos++];
                if (q == '\'') {
                    if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
                        raw += '\'';
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                if (q == '\n')
                    ++m_line;
                raw += q;
            }
        } else if (c == '{') {
            // A bare class id: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
            size_t close = m_text.find('}', m_pos);
            raw = m_text.substr(m_pos, close + 1 - m_pos);
            m_pos = close + 1;
        } else {
            while (m_pos < m_text.size()) {
                char w = m_text[m_pos];
                if (std::isspace(static_cast<unsigned char>(w)) || w == '{' || w == '}' || w == '=' || w == '\'')
                    break;
                raw += w;
                ++m_pos;
            }
        }
        return Substitute(raw, tok.text, error);
    }

private:
    void SkipSpace()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
            if (m_text[m_pos] == '\n')
                ++m_line;
            ++m_pos;
        }
    }

    // '{' opens a block unless it starts a bare class id.
    bool StartsGuid() const
    {
        static const char kShape[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
        const size_t n = sizeof(kShape) - 1;
        if (m_pos + n > m_text.size())
            return false;
        for (size_t i = 0; i < n; ++i) {
            char want = kShape[i], have = m_text[m_pos + i];
            if (want == 'X' ? !IsHex(have) : have != want)
                return false;
        }
        return true;
    }

    bool Substitute(const std::string& raw, std::string& out, std::string& error) const
    {
        out.clear();
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            size_t end = raw.find('%', i + 1);
            if (end == std::string::npos) {
                error = "unterminated variable in '" + raw + "'";
                return false;
            }
            std::string name = raw.substr(i + 1, end - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                auto it = m_vars.find(name);
                if (it == m_vars.end()) {
                    error = "unknown variable %" + name + "%";
                    return false;
                }
                out += it->second;
            }
            i = end;
        }
        return true;
    }

    const std::string& m_text;
    const CRegistryScript::Variables& m_vars;
    size_t m_pos = 0;
    size_t m_line = 1;
};

bool EqualsNoCase(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

HKEY RootFromName(const std::string& name)
{
    static const struct {
        const char* name;
        HKEY key;
    } kRoots[] = {
        {"HKCR", HKEY_CLASSES_ROOT},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKCU", HKEY_CURRENT_USER},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", HKEY_LOCAL_MACHINE},
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKU", HKEY_USERS},
        {"HKEY_USERS", HKEY_USERS},
    };
    for (const auto& r : kRoots)
        if (EqualsNoCase(name, r.name))
            return r.key;
    return nullptr;
}

class Parser {
public:
    Parser(Lexer& lex) : m_lex(lex) {}

    bool ParseScript(std::vector<CRegistryScript::Root>& roots, std::string& error)
    {
        if (!Advance(error))
            return false;
        while (m_tok.kind != Token::End) {
            if (m_tok.kind != Token::Word || m_tok.quoted)
                return Fail("expected a root key name", error);
            CRegistryScript::Root root;
            root.key = RootFromName(m_tok.text);
            if (!root.key)
                return Fail("unknown root key '" + m_tok.text + "'", error);
            if (!Advance(error))
                return false;
            if (m_tok.kind != Token::Open)
                return Fail("expected '{' after the root key", error);
            if (!Advance(error) || !ParseBlock(root.children, error))
                return false;
            roots.push_back(std::move(root));
        }
        return true;
    }

private:
    bool Advance(std::string& error)
    {
        if (!m_lex.NextToken(m_tok, error)) {
            error = "line " + std::to_string(m_tok.line) + ": " + error;
            return false;
        }
        return true;
    }

    bool Fail(const std::string& what, std::string& error)
    {
        error = "line " + std::to_string(m_tok.line) + ": " + what;
        return false;
    }

    // Entries up to and including the closing brace.
    bool ParseBlock(std::vector<CRegistryScript::Node>& nodes, std::string& error)
    {
        for (;;) {
            if (m_tok.kind == Token::Close)
                return Advance(error);
            if (m_tok.kind != Token::Word)
                return Fail(m_tok.kind == Token::End ? "missing '}'" : "expected a key or value name", error);
            CRegistryScript::Node node;
            if (!ParseEntry(node, error))
                return false;
            nodes.push_back(std::move(node));
        }
    }

    bool ParseEntry(CRegistryScript::Node& node, std::string& error)
    {
        // Keywords are bare words; a quoted word is always a name.
        while (m_tok.kind == Token::Word && !m_tok.quoted) {
            if (EqualsNoCase(m_tok.text, "NoRemove"))
                node.removal = CRegistryScript::Node::NoRemove;
            else if (EqualsNoCase(m_tok.text, "ForceRemove"))
                node.removal = CRegistryScript::Node::ForceRemove;
            else if (EqualsNoCase(m_tok.text, "val"))
                node.isValue = true;
            else if (EqualsNoCase(m_tok.text, "Delete"))
                return Fail("'Delete' entries are not supported", error);
            else
                break;
            if (!Advance(error))
                return false;
        }
        if (m_tok.kind != Token::Word)
            return Fail("expected a name", error);
        if (node.isValue && node.removal != CRegistryScript::Node::Normal)
            return Fail("a value cannot be NoRemove or ForceRemove", error);
        node.name = m_tok.text;
        if (!node.isValue && node.name.empty())
            return Fail("empty key name", error);
        if (!Advance(error))
            return false;
        if (m_tok.kind == Token::Equals) {
            if (!Advance(error) || !ParseData(node, error))
                return false;
        } else if (node.isValue) {
            return Fail("value '" + node.name + "' has no data", error);
        }
        if (m_tok.kind == Token::Open) {
            if (node.isValue)
                return Fail("value '" + node.name + "' cannot hold entries", error);
            if (!Advance(error) || !ParseBlock(node.children, error))
                return false;
        }
        return true;
    }

    bool ParseData(CRegistryScript::Node& node, std::string& error)
    {
        if (m_tok.kind != Token::Word || m_tok.quoted)
            return Fail("expected a type (s, e or d)", error);
        std::string type = m_tok.text;
        if (!Advance(error))
            return false;
        if (m_tok.kind != Token::Word)
            return Fail("expected data after the type", error);
        node.hasData = true;
        node.data = m_tok.text;
        if (EqualsNoCase(type, "s")) {
            node.type = REG_SZ;
        } else if (EqualsNoCase(type, "e")) {
            node.type = REG_EXPAND_SZ;
        } else if (EqualsNoCase(type, "d")) {
            node.type = REG_DWORD;
            const char* s = node.data.c_str();
            char* end = nullptr;
            unsigned long long v = std::strtoull(s, &end, 0);
            if (node.data.empty() || *end || v > 0xFFFFFFFFull)
                return Fail("bad number '" + node.data + "'", error);
            node.dword = static_cast<DWORD>(v);
        } else {
            return Fail("unsupported type '" + type + "'", error);
        }
        return Advance(error);
    }

    Lexer& m_lex;
    Token m_tok;
};

HRESULT FromWin32(LONG rc)
{
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

bool IsMissing(LONG rc)
{
    return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND;
}

LONG SetData(HKEY key, const char* name, const CRegistryScript::Node& node)
{
    if (node.type == REG_DWORD)
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&node.dword), sizeof(DWORD));
    return RegSetValueExA(key, name, 0, node.type, reinterpret_cast<const BYTE*>(node.data.c_str()),
                          static_cast<DWORD>(node.data.size() + 1));
}

HRESULT RegisterNodes(HKEY parent, const std::vector<CRegistryScript::Node>& nodes);
HRESULT UnregisterNodes(HKEY parent, const std::vector<CRegistryScript::Node>& nodes);

HRESULT RegisterNode(HKEY parent, const CRegistryScript::Node& node)
{
    if (node.isValue)
        return FromWin32(SetData(parent, node.name.c_str(), node));
    if (node.removal == CRegistryScript::Node::ForceRemove) {
        RegDeleteTreeA(parent, node.name.c_str()); // a missing key is fine
        RegDeleteKeyA(parent, node.name.c_str());
    }
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(parent, node.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return FromWin32(rc);
    HRESULT hr = S_OK;
    if (node.hasData)
        hr = FromWin32(SetData(key, nullptr, node));
    if (SUCCEEDED(hr))
        hr = RegisterNodes(key, node.children);
    RegCloseKey(key);
    return hr;
}

HRESULT RegisterNodes(HKEY parent, const std::vector<CRegistryScript::Node>& nodes)
{
    for (const auto& node : nodes) {
        HRESULT hr = RegisterNode(parent, node);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterNode(HKEY parent, const CRegistryScript::Node& node)
{
    if (node.isValue) {
        LONG rc = RegDeleteValueA(parent, node.name.c_str());
        return IsMissing(rc) ? S_OK : FromWin32(rc);
    }
    if (node.removal == CRegistryScript::Node::ForceRemove) {
        LONG rc = RegDeleteTreeA(parent, node.name.c_str());
        if (IsMissing(rc))
            return S_OK;
        if (rc != ERROR_SUCCESS)
            return FromWin32(rc);
        // Some registries empty the key but leave it; take the key itself too.
        rc = RegDeleteKeyA(parent, node.name.c_str());
        return IsMissing(rc) ? S_OK : FromWin32(rc);
    }
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(parent, node.name.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (IsMissing(rc))
        return S_OK;
    if (rc != ERROR_SUCCESS)
        return FromWin32(rc);
    HRESULT hr = UnregisterNodes(key, node.children);
    DWORD subKeys = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    if (node.removal == CRegistryScript::Node::Normal && subKeys == 0) {
        rc = RegDeleteKeyA(parent, node.name.c_str());
        if (SUCCEEDED(hr) && !IsMissing(rc))
            hr = FromWin32(rc);
    }
    return hr;
}

HRESULT UnregisterNodes(HKEY parent, const std::vector<CRegistryScript::Node>& nodes)
{
    // Everything is attempted; the first failure is reported.
    HRESULT result = S_OK;
    for (const auto& node : nodes) {
        HRESULT hr = UnregisterNode(parent, node);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

} // namespace

bool CRegistryScript::Parse(const std::string& text, const Variables& vars, std::string* error)
{
    m_roots.clear();
    std::string message;
    Lexer lex(text, vars);
    Parser parser(lex);
    std::vector<Root> roots;
    if (!parser.ParseScript(roots, message)) {
        if (error)
            *error = message;
        return false;
    }
    m_roots.swap(roots);
    return true;
}

HRESULT CRegistryScript::Register() const
{
    for (const auto& root : m_roots) {
        HRESULT hr = RegisterNodes(root.key, root.children);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT CRegistryScript::Unregister() const
{
    HRESULT result = S_OK;
    for (const auto& root : m_roots) {
        HRESULT hr = UnregisterNodes(root.key, root.children);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}
