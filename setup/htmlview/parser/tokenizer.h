// The lexical half of the HTML reader: characters with folded line ends, comments and included
// text, and one symbol at a time for the parser (a tag with its attributes, an end tag, a text
// run, the end of the document). One Tokenizer object holds all state of one parse.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "setup/htmlview/parser/attributes.h"
#include "setup/htmlview/parser/symbols.h"
#include "setup/htmlview/util/char_buffers.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

class ParseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TokenizerHooks
{
    // A comment "<!--#command params-->": returns the text to read in its place.
    std::function<std::string(const std::string& command, const std::vector<std::string>& params)>
        include;
    // An ID attribute with a value, and the position where it was read.
    std::function<void(const std::string& id, int position)> idFound;
    // A SCRIPT element's contents; without it the contents are skipped.
    std::function<void(const std::string& name, const std::string& language,
                       const std::string& script)>
        script;
    // Every 4096 bytes of the document: bytes read so far and the document's length.
    std::function<void(std::size_t done, std::size_t total)> progress;
};

class Tokenizer
{
public:
    // Included texts nest; these bound what one document can make of them.
    static constexpr int kMaxIncludes = 1000;
    static constexpr std::size_t kMaxInsertedText = 16u << 20;
    static constexpr std::size_t kMaxNameLength = 255;

    // Prepares the document: cut at its first NUL, a UTF-8 byte-order mark removed, a JIS text
    // converted to Shift-JIS. Reads nothing yet: call GetCh() before the first ReadSymbol().
    Tokenizer(std::string document, const ICodePages& codePages, TokenizerHooks hooks = {});

    // What the preparation found: the document is UTF-8 (a byte-order mark) or was converted to
    // Shift-JIS.
    bool StartsWithUtf8Mark() const { return m_utf8Mark; }
    bool ConvertedToShiftJis() const { return m_shiftJis; }

    // The code page text runs are converted in (the current properties' code page).
    void SetCodePage(int codePage) { m_codePage = codePage; }
    int CodePage() const { return m_codePage; }
    void SetPreScan(bool preScan) { m_preScan = preScan; }

    void ReadChar();  // one character, comments not recognised
    void GetCh();     // one character, comments and includes skipped
    void SkipWhiteSpace();
    void ReadSymbol();

    // Reads a SCRIPT element's contents, with the current character on its start tag's ">".
    void ReadScript();
    // Reads a TEXTAREA's contents up to its end tag: the lines joined by CR LF.
    std::string ReadTextArea();
    // The rest of the document, from the character after the current one, is EUC-JP: convert it
    // to Shift-JIS (once).
    void ConvertRestFromEucJp();

    char Ch() const { return m_ch; }
    char UpperCh() const { return m_upperCh; }
    Sym Symbol() const { return m_symbol; }
    int HeadingLevel() const { return m_headingLevel; }
    int Position() const { return m_position; }
    int TagPosition() const { return m_tagPosition; }
    const TokenObj& Token() const { return m_token; }
    const AttributeList& Attributes() const { return m_attributes; }

private:
    char NextRawChar();
    char PeekRawChar() const;
    void SkipComment();
    void SkipDashComment();
    void RunInclude();
    void ReadTag();
    bool ReadAttribute();
    bool ReadText();
    // After "&#": the digits (decimal, or hexadecimal after 'x') and an optional ';'; the
    // characters before the digits are appended to read. None when no digit follows.
    std::optional<std::uint32_t> ReadNumericReference(std::string& read);
    std::string ReadEntityName();
    std::string DecodeAttributeEntity();
    void DecodeTextEntity(CharCollection& bytes);
    std::string BytesOfCodePoint(std::uint32_t code) const;

    std::string m_document;
    std::size_t m_documentPos = 0;
    std::string m_inserted;
    std::size_t m_insertedPos = 0;
    int m_includes = 0;

    const ICodePages& m_codePages;
    TokenizerHooks m_hooks;
    int m_codePage = 1252;
    bool m_utf8Mark = false;
    bool m_shiftJis = false;
    bool m_eucConverted = false;
    bool m_preScan = false;
    bool m_inComment = false;
    bool m_scriptMode = false;

    char m_ch = 0;
    char m_upperCh = 0;
    char m_lastLineEnd = 0;  // the line-end byte a following partner byte pairs with
    int m_position = -1;
    int m_tagPosition = 0;
    Sym m_symbol = Sym::Eof;
    int m_headingLevel = 0;
    TokenObj m_token;
    AttributeList m_attributes;
};

}  // namespace htmlview
