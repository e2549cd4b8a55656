#!/usr/bin/env python3
"""Writes the editor's language files (*.config) into the folder of this script.

Usage: python3 resources/config/make-configs.py

Each language is one row of LANGUAGES below: its file name, the name on the
View As menu, the extensions it claims, the Lexilla lexer that colours it,
its language id (LEXERID; the function list picks its patterns by it),
whether typing nests indentation, its keyword sets, its comment markers and
the styles of its lexer. The generated files are kept in the tree; run the
script again after changing a row and commit both.

Style numbers are the lexer's own (Lexilla's SciLexer.h). Colours are given
by role (PALETTE), so every language reads alike on the white background.

Language ids: the function list has patterns for ids 1-8, 11-13, 16-19,
21-23, 25-30, 32 and 38; the languages here that it has no patterns for take
0 (plain text) or ids from 40 up, which no pattern row uses.
"""

import os
import textwrap

HERE = os.path.dirname(os.path.abspath(__file__))

WHITE = "#FFFFFF"

# role -> (text colour, background colour, background to the end of the line)
PALETTE = {
    "default": ("#000000", WHITE, False),
    "comment": ("#008000", WHITE, False),
    "doccomment": ("#3F7F5F", WHITE, False),
    "dockeyword": ("#2F6F9F", WHITE, False),
    "keyword": ("#0000FF", WHITE, False),
    "type": ("#2B91AF", WHITE, False),
    "builtin": ("#795E26", WHITE, False),
    "string": ("#A31515", WHITE, False),
    "escape": ("#B5651D", WHITE, False),
    "regex": ("#811F3F", WHITE, False),
    "number": ("#C05800", WHITE, False),
    "preprocessor": ("#6F008A", WHITE, False),
    "operator": ("#000080", WHITE, False),
    "variable": ("#1F5F9F", WHITE, False),
    "label": ("#7F007F", WHITE, False),
    "definition": ("#004080", WHITE, False),
    "tag": ("#800000", WHITE, False),
    "attribute": ("#E00000", WHITE, False),
    "value": ("#0000C0", WHITE, False),
    "entity": ("#C05800", WHITE, False),
    "heading": ("#00007F", WHITE, False),
    "task": ("#C00000", "#FFF4C0", False),
    "error": ("#C00000", "#FFE4E4", False),
    "unclosed": ("#A31515", "#FFE4E4", True),
    "inactive": ("#A0A0A0", WHITE, False),
    "block": ("#404040", "#F4F4F4", True),
    "added": ("#006000", "#E6FFE6", True),
    "deleted": ("#A00000", "#FFE8E8", True),
    "changed": ("#805000", "#FFF6D8", True),
    "hunk": ("#6F008A", "#F0F0FF", True),
    "header": ("#000080", "#EEEEEE", True),
}

# ---------------------------------------------------------------------------
# Styles of each lexer: (style number, name shown on the options page, role).
# Style 32 is the editing component's default style; it comes first.

DEFAULT_STYLE = [(32, "Default", "default")]

CPP_ACTIVE = [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Line comment", "comment"),
    (3, "Doc comment", "doccomment"),
    (4, "Number", "number"),
    (5, "Keyword", "keyword"),
    (6, "String", "string"),
    (7, "Character", "string"),
    (8, "UUID", "number"),
    (9, "Preprocessor", "preprocessor"),
    (10, "Operator", "operator"),
    (11, "Identifier", "default"),
    (12, "Unclosed string", "unclosed"),
    (13, "Verbatim string", "string"),
    (14, "Regular expression", "regex"),
    (15, "Doc line comment", "doccomment"),
    (16, "Type", "type"),
    (17, "Doc comment keyword", "dockeyword"),
    (18, "Unknown doc comment keyword", "error"),
    (19, "Global class", "type"),
    (20, "Raw string", "string"),
    (21, "Triple-quoted string", "string"),
    (22, "Hash-quoted string", "string"),
    (23, "Preprocessor comment", "comment"),
    (24, "Preprocessor doc comment", "doccomment"),
    (25, "User literal", "number"),
    (26, "Task marker", "task"),
    (27, "Escape sequence", "escape"),
]
# Code the preprocessor leaves out (#if 0, an undefined #ifdef): the same
# styles plus 64, all grey.
CPP_STYLES = DEFAULT_STYLE + CPP_ACTIVE + [
    (n + 64, "Inactive " + name[0].lower() + name[1:], "inactive") for (n, name, _) in CPP_ACTIVE]

HTML_CORE = [
    (0, "Text", "default"),
    (1, "Tag", "tag"),
    (2, "Unknown tag", "error"),
    (3, "Attribute", "attribute"),
    (4, "Unknown attribute", "error"),
    (5, "Number", "number"),
    (6, "Double-quoted string", "value"),
    (7, "Single-quoted string", "value"),
    (8, "Other inside tag", "tag"),
    (9, "Comment", "comment"),
    (10, "Entity", "entity"),
    (11, "Tag end", "tag"),
    (12, "XML start", "preprocessor"),
    (13, "XML end", "preprocessor"),
    (15, "ASP start", "preprocessor"),
    (16, "ASP directive", "preprocessor"),
    (17, "CDATA", "block"),
    (18, "PHP start", "preprocessor"),
    (19, "Unquoted value", "value"),
    (20, "JSP comment", "comment"),
    (21, "SGML tag", "tag"),
    (22, "SGML command", "keyword"),
    (23, "SGML first parameter", "definition"),
    (24, "SGML double-quoted string", "string"),
    (25, "SGML single-quoted string", "string"),
    (26, "SGML error", "error"),
    (27, "SGML special", "number"),
    (28, "SGML entity", "entity"),
    (29, "SGML comment", "comment"),
    (30, "SGML first parameter comment", "comment"),
    (31, "SGML block", "default"),
]


def numbered(base, prefix, names):
    """Styles numbered on from base, each name after a prefix ("JavaScript keyword")."""
    return [(base + i, prefix + " " + name[0].lower() + name[1:], role) for i, (name, role) in enumerate(names)]


# The scripts a page may hold, each in a block of styles of its own (a second
# block for the same script inside ASP).
JAVASCRIPT_NAMES = [
    ("Start", "default"), ("Default", "default"), ("Comment", "comment"), ("Line comment", "comment"),
    ("Doc comment", "doccomment"), ("Number", "number"), ("Identifier", "default"),
    ("Keyword", "keyword"), ("Double-quoted string", "string"), ("Single-quoted string", "string"),
    ("Symbol", "operator"), ("Unclosed string", "unclosed"), ("Regular expression", "regex"),
]
VBSCRIPT_NAMES = [
    ("Start", "default"), ("Default", "default"), ("Comment", "comment"), ("Number", "number"),
    ("Keyword", "keyword"), ("String", "string"), ("Identifier", "default"), ("Unclosed string", "unclosed"),
]
PYTHON_IN_PAGE_NAMES = [
    ("Start", "default"), ("Default", "default"), ("Comment", "comment"), ("Number", "number"),
    ("String", "string"), ("Single-quoted string", "string"), ("Keyword", "keyword"),
    ("Triple-quoted string", "string"), ("Triple double-quoted string", "string"),
    ("Class name", "definition"), ("Function name", "definition"), ("Operator", "operator"),
    ("Identifier", "default"),
]


PHP_STYLES = [
    (118, "PHP default", "default"),
    (119, "PHP double-quoted string", "string"),
    (120, "PHP single-quoted string", "string"),
    (121, "PHP keyword", "keyword"),
    (122, "PHP number", "number"),
    (123, "PHP variable", "variable"),
    (124, "PHP comment", "comment"),
    (125, "PHP line comment", "comment"),
    (126, "PHP variable in string", "variable"),
    (127, "PHP operator", "operator"),
    (104, "PHP complex variable", "variable"),
]

HTML_STYLES = (DEFAULT_STYLE + HTML_CORE
               + numbered(40, "JavaScript", JAVASCRIPT_NAMES) + numbered(55, "ASP JavaScript", JAVASCRIPT_NAMES)
               + numbered(70, "VBScript", VBSCRIPT_NAMES) + numbered(80, "ASP VBScript", VBSCRIPT_NAMES)
               + numbered(90, "Python", PYTHON_IN_PAGE_NAMES) + numbered(105, "ASP Python", PYTHON_IN_PAGE_NAMES)
               + PHP_STYLES)

XML_STYLES = DEFAULT_STYLE + [
    (0, "Text", "default"),
    (1, "Tag", "tag"),
    (2, "Tag name", "tag"),
    (3, "Attribute", "attribute"),
    (4, "Attribute name", "attribute"),
    (5, "Number", "number"),
    (6, "Double-quoted string", "value"),
    (7, "Single-quoted string", "value"),
    (8, "Other inside tag", "tag"),
    (9, "Comment", "comment"),
    (10, "Entity", "entity"),
    (11, "Tag end", "tag"),
    (12, "Declaration start", "preprocessor"),
    (13, "Declaration end", "preprocessor"),
    (17, "CDATA", "block"),
    (18, "Question", "preprocessor"),
    (19, "Unquoted value", "value"),
    (21, "DTD tag", "tag"),
    (22, "DTD command", "keyword"),
    (23, "DTD first parameter", "definition"),
    (24, "DTD double-quoted string", "string"),
    (25, "DTD single-quoted string", "string"),
    (26, "DTD error", "error"),
    (27, "DTD special", "number"),
    (28, "DTD entity", "entity"),
    (29, "DTD comment", "comment"),
    (31, "DTD block", "default"),
]

PYTHON_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Number", "number"),
    (3, "String", "string"),
    (4, "Single-quoted string", "string"),
    (5, "Keyword", "keyword"),
    (6, "Triple-quoted string", "string"),
    (7, "Triple double-quoted string", "string"),
    (8, "Class name", "definition"),
    (9, "Function name", "definition"),
    (10, "Operator", "operator"),
    (11, "Identifier", "default"),
    (12, "Comment block", "comment"),
    (13, "Unclosed string", "unclosed"),
    (14, "Built-in", "builtin"),
    (15, "Decorator", "preprocessor"),
    (16, "F-string", "string"),
    (17, "Single-quoted f-string", "string"),
    (18, "Triple-quoted f-string", "string"),
    (19, "Triple double-quoted f-string", "string"),
    (20, "Attribute", "default"),
]

CSS_STYLES = DEFAULT_STYLE + [
    (0, "Plain", "default"),
    (1, "Tag", "tag"),
    (2, "Class", "definition"),
    (3, "Pseudo-class", "label"),
    (4, "Unknown pseudo-class", "error"),
    (5, "Operator", "operator"),
    (6, "Property", "keyword"),
    (7, "Unknown property", "error"),
    (8, "Value", "value"),
    (9, "Comment", "comment"),
    (10, "Id", "definition"),
    (11, "Important", "attribute"),
    (12, "At-rule", "preprocessor"),
    (13, "Double-quoted string", "string"),
    (14, "Single-quoted string", "string"),
    (15, "CSS2 property", "keyword"),
    (16, "Attribute selector", "attribute"),
    (17, "CSS3 property", "keyword"),
    (18, "Pseudo-element", "label"),
    (19, "Vendor property", "type"),
    (20, "Vendor pseudo-class", "label"),
    (21, "Vendor pseudo-element", "label"),
    (22, "Group rule", "preprocessor"),
    (23, "Variable", "variable"),
]

SQL_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Line comment", "comment"),
    (3, "Doc comment", "doccomment"),
    (4, "Number", "number"),
    (5, "Keyword", "keyword"),
    (6, "String", "string"),
    (7, "Quoted text", "string"),
    (8, "SQL*Plus command", "preprocessor"),
    (9, "SQL*Plus prompt", "preprocessor"),
    (10, "Operator", "operator"),
    (11, "Identifier", "default"),
    (13, "SQL*Plus comment", "comment"),
    (15, "Doc line comment", "doccomment"),
    (16, "Function", "builtin"),
    (17, "Doc comment keyword", "dockeyword"),
    (18, "Unknown doc comment keyword", "error"),
    (19, "Data type", "type"),
    (20, "User keywords 2", "keyword"),
    (21, "User keywords 3", "keyword"),
    (22, "User keywords 4", "keyword"),
    (23, "Quoted identifier", "variable"),
    (24, "Q operator", "operator"),
]

JSON_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Number", "number"),
    (2, "String", "string"),
    (3, "Unclosed string", "unclosed"),
    (4, "Property name", "definition"),
    (5, "Escape sequence", "escape"),
    (6, "Line comment", "comment"),
    (7, "Block comment", "comment"),
    (8, "Operator", "operator"),
    (9, "URI", "value"),
    (10, "Compact IRI", "value"),
    (11, "Keyword", "keyword"),
    (12, "Linked-data keyword", "type"),
    (13, "Error", "error"),
]

YAML_STYLES = DEFAULT_STYLE + [
    (0, "Plain", "default"),
    (1, "Comment", "comment"),
    (2, "Key", "definition"),
    (3, "Keyword", "keyword"),
    (4, "Number", "number"),
    (5, "Reference", "variable"),
    (6, "Document marker", "header"),
    (7, "Text block", "string"),
    (8, "Error", "error"),
    (9, "Operator", "operator"),
]

MARKDOWN_STYLES = DEFAULT_STYLE + [
    (0, "Text", "default"),
    (1, "Line begin", "default"),
    (2, "Strong", "heading"),
    (3, "Strong (underscores)", "heading"),
    (4, "Emphasis", "label"),
    (5, "Emphasis (underscores)", "label"),
    (6, "Heading 1", "heading"),
    (7, "Heading 2", "heading"),
    (8, "Heading 3", "heading"),
    (9, "Heading 4", "heading"),
    (10, "Heading 5", "heading"),
    (11, "Heading 6", "heading"),
    (12, "Pre char", "default"),
    (13, "List item", "keyword"),
    (14, "Numbered list item", "keyword"),
    (15, "Block quote", "comment"),
    (16, "Strike-out", "inactive"),
    (17, "Horizontal rule", "operator"),
    (18, "Link", "value"),
    (19, "Code", "block"),
    (20, "Code (double backticks)", "block"),
    (21, "Code block", "block"),
]

BATCH_STYLES = DEFAULT_STYLE + [
    (0, "Plain", "default"),
    (1, "Comment", "comment"),
    (2, "Keyword", "keyword"),
    (3, "Label", "label"),
    (4, "Hide (@)", "operator"),
    (5, "Command", "builtin"),
    (6, "Variable", "variable"),
    (7, "Operator", "operator"),
]

POWERSHELL_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "String", "string"),
    (3, "Single-quoted string", "string"),
    (4, "Number", "number"),
    (5, "Variable", "variable"),
    (6, "Operator", "operator"),
    (7, "Identifier", "default"),
    (8, "Keyword", "keyword"),
    (9, "Cmdlet", "builtin"),
    (10, "Alias", "builtin"),
    (11, "Function", "builtin"),
    (12, "User words", "type"),
    (13, "Block comment", "comment"),
    (14, "Here-string", "string"),
    (15, "Single-quoted here-string", "string"),
    (16, "Comment keyword", "dockeyword"),
]

BASH_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Error", "error"),
    (2, "Comment", "comment"),
    (3, "Number", "number"),
    (4, "Keyword", "keyword"),
    (5, "String", "string"),
    (6, "Single-quoted string", "string"),
    (7, "Operator", "operator"),
    (8, "Identifier", "default"),
    (9, "Variable", "variable"),
    (10, "Parameter expansion", "variable"),
    (11, "Backticks", "preprocessor"),
    (12, "Here-document delimiter", "label"),
    (13, "Here-document", "string"),
]

MAKEFILE_STYLES = DEFAULT_STYLE + [
    (0, "Plain", "default"),
    (1, "Comment", "comment"),
    (2, "Directive", "preprocessor"),
    (3, "Variable", "variable"),
    (4, "Operator", "operator"),
    (5, "Target", "definition"),
    (9, "Unclosed variable", "unclosed"),
]

PROPS_STYLES = DEFAULT_STYLE + [
    (0, "Value", "default"),
    (1, "Comment", "comment"),
    (2, "Section", "label"),
    (3, "Assignment", "operator"),
    (4, "Default value", "value"),
    (5, "Key", "definition"),
]

# Ruby's lexer numbers its first styles as Perl's does.
PERL_RUBY_FIRST = [
    (0, "White space", "default"),
    (1, "Error", "error"),
    (2, "Comment", "comment"),
    (3, "POD", "doccomment"),
    (4, "Number", "number"),
    (5, "Keyword", "keyword"),
    (6, "String", "string"),
    (7, "Single-quoted string", "string"),
]

PERL_STYLES = DEFAULT_STYLE + PERL_RUBY_FIRST + [
    (8, "Punctuation", "operator"),
    (9, "Preprocessor", "preprocessor"),
    (10, "Operator", "operator"),
    (11, "Identifier", "default"),
    (12, "Scalar", "variable"),
    (13, "Array", "variable"),
    (14, "Hash", "variable"),
    (15, "Symbol table", "variable"),
    (16, "Variable indexer", "variable"),
    (17, "Regular expression", "regex"),
    (18, "Substitution", "regex"),
    (19, "Long quote", "string"),
    (20, "Backticks", "preprocessor"),
    (21, "Data section", "block"),
    (22, "Here-document delimiter", "label"),
    (23, "Here-document (single-quoted)", "string"),
    (24, "Here-document (double-quoted)", "string"),
    (25, "Here-document (backticks)", "string"),
    (26, "q string", "string"),
    (27, "qq string", "string"),
    (28, "qx string", "preprocessor"),
    (29, "qr string", "regex"),
    (30, "qw list", "string"),
    (31, "POD verbatim", "doccomment"),
    (40, "Sub prototype", "type"),
    (41, "Format identifier", "definition"),
    (42, "Format", "string"),
    (43, "Variable in string", "variable"),
    (44, "Transliteration", "regex"),
    (54, "Variable in regular expression", "variable"),
    (55, "Variable in substitution", "variable"),
    (57, "Variable in backticks", "variable"),
    (61, "Variable in here-document", "variable"),
    (62, "Variable in here-document (backticks)", "variable"),
    (64, "Variable in qq string", "variable"),
    (65, "Variable in qx string", "variable"),
    (66, "Variable in qr string", "variable"),
]

RUBY_STYLES = DEFAULT_STYLE + PERL_RUBY_FIRST + [
    (8, "Class name", "definition"),
    (9, "Method name", "definition"),
    (10, "Operator", "operator"),
    (11, "Identifier", "default"),
    (12, "Regular expression", "regex"),
    (13, "Global variable", "variable"),
    (14, "Symbol", "label"),
    (15, "Module name", "definition"),
    (16, "Instance variable", "variable"),
    (17, "Class variable", "variable"),
    (18, "Backticks", "preprocessor"),
    (19, "Data section", "block"),
    (20, "Here-document delimiter", "label"),
    (21, "Here-document (single-quoted)", "string"),
    (22, "Here-document (double-quoted)", "string"),
    (23, "Here-document (backticks)", "string"),
    (24, "%q string", "string"),
    (25, "%Q string", "string"),
    (26, "%x string", "preprocessor"),
    (27, "%r regular expression", "regex"),
    (28, "%w list", "string"),
    (29, "Keyword as name", "default"),
    (30, "Standard input", "variable"),
    (31, "Standard output", "variable"),
    (40, "Standard error", "variable"),
]

RUST_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Block comment", "comment"),
    (2, "Line comment", "comment"),
    (3, "Doc block comment", "doccomment"),
    (4, "Doc line comment", "doccomment"),
    (5, "Number", "number"),
    (6, "Keyword", "keyword"),
    (7, "Built-in type", "type"),
    (8, "Standard type", "type"),
    (9, "Keywords 4", "keyword"),
    (10, "Keywords 5", "keyword"),
    (11, "Keywords 6", "keyword"),
    (12, "Keywords 7", "keyword"),
    (13, "String", "string"),
    (14, "Raw string", "string"),
    (15, "Character", "string"),
    (16, "Operator", "operator"),
    (17, "Identifier", "default"),
    (18, "Lifetime", "label"),
    (19, "Macro", "preprocessor"),
    (20, "Lexical error", "error"),
    (21, "Byte string", "string"),
    (22, "Raw byte string", "string"),
    (23, "Byte character", "string"),
]

LUA_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Block comment", "comment"),
    (2, "Line comment", "comment"),
    (3, "Doc comment", "doccomment"),
    (4, "Number", "number"),
    (5, "Keyword", "keyword"),
    (6, "String", "string"),
    (7, "Character", "string"),
    (8, "Long string", "string"),
    (9, "Preprocessor", "preprocessor"),
    (10, "Operator", "operator"),
    (11, "Identifier", "default"),
    (12, "Unclosed string", "unclosed"),
    (13, "Basic function", "builtin"),
    (14, "String, table and math function", "builtin"),
    (15, "Coroutine, I/O and system function", "builtin"),
    (20, "Label", "label"),
]

PASCAL_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Identifier", "default"),
    (2, "Comment { }", "comment"),
    (3, "Comment (* *)", "comment"),
    (4, "Line comment", "comment"),
    (5, "Directive {$ }", "preprocessor"),
    (6, "Directive (*$ *)", "preprocessor"),
    (7, "Number", "number"),
    (8, "Hexadecimal number", "number"),
    (9, "Keyword", "keyword"),
    (10, "String", "string"),
    (11, "Unclosed string", "unclosed"),
    (12, "Character", "string"),
    (13, "Operator", "operator"),
    (14, "Inline assembler", "preprocessor"),
]

DIFF_STYLES = DEFAULT_STYLE + [
    (0, "Text", "default"),
    (1, "Comment", "comment"),
    (2, "Command", "keyword"),
    (3, "File header", "header"),
    (4, "Position", "hunk"),
    (5, "Deleted line", "deleted"),
    (6, "Added line", "added"),
    (7, "Changed line", "changed"),
    (8, "Patch adds an addition", "added"),
    (9, "Patch adds a deletion", "deleted"),
    (10, "Patch removes an addition", "deleted"),
    (11, "Patch removes a deletion", "added"),
]

VB_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Number", "number"),
    (3, "Keyword", "keyword"),
    (4, "String", "string"),
    (5, "Preprocessor", "preprocessor"),
    (6, "Operator", "operator"),
    (7, "Identifier", "default"),
    (8, "Date", "number"),
    (9, "Unclosed string", "unclosed"),
    (10, "Function", "builtin"),
    (11, "Keywords 3", "keyword"),
    (12, "Keywords 4", "keyword"),
]

FORTRAN_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Number", "number"),
    (3, "Single-quoted string", "string"),
    (4, "Double-quoted string", "string"),
    (5, "Unclosed string", "unclosed"),
    (6, "Operator", "operator"),
    (7, "Identifier", "default"),
    (8, "Keyword", "keyword"),
    (9, "Intrinsic function", "builtin"),
    (10, "Extended function", "builtin"),
    (11, "Preprocessor", "preprocessor"),
    (12, "Dotted operator", "operator"),
    (13, "Label", "label"),
    (14, "Continuation", "operator"),
]

NSIS_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Double-quoted string", "string"),
    (3, "Left-quoted string", "string"),
    (4, "Right-quoted string", "string"),
    (5, "Instruction", "keyword"),
    (6, "Variable", "variable"),
    (7, "Label", "label"),
    (8, "User defined", "type"),
    (9, "Section", "definition"),
    (10, "Sub-section", "definition"),
    (11, "Conditional", "preprocessor"),
    (12, "Macro", "preprocessor"),
    (13, "Variable in string", "variable"),
    (14, "Number", "number"),
    (15, "Section group", "definition"),
    (16, "Page", "definition"),
    (17, "Function", "definition"),
    (18, "Comment box", "comment"),
]

TCL_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Line comment", "comment"),
    (3, "Number", "number"),
    (4, "Keyword in quotes", "string"),
    (5, "Quoted string", "string"),
    (6, "Operator", "operator"),
    (7, "Identifier", "default"),
    (8, "Substitution", "variable"),
    (9, "Braced substitution", "variable"),
    (10, "Modifier", "label"),
    (11, "Expand", "preprocessor"),
    (12, "Keyword", "keyword"),
    (13, "Tk keyword", "builtin"),
    (14, "iTcl keyword", "keyword"),
    (15, "Tk command", "builtin"),
    (16, "Expand keyword", "preprocessor"),
    (20, "Comment box", "comment"),
    (21, "Block comment", "comment"),
]

LISP_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Number", "number"),
    (3, "Function", "keyword"),
    (4, "Lambda-list keyword", "type"),
    (5, "Symbol", "label"),
    (6, "String", "string"),
    (8, "Unclosed string", "unclosed"),
    (9, "Identifier", "default"),
    (10, "Operator", "operator"),
    (11, "Special", "preprocessor"),
    (12, "Block comment", "comment"),
]

ASM_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Number", "number"),
    (3, "String", "string"),
    (4, "Operator", "operator"),
    (5, "Identifier", "default"),
    (6, "CPU instruction", "keyword"),
    (7, "FPU instruction", "keyword"),
    (8, "Register", "variable"),
    (9, "Directive", "preprocessor"),
    (10, "Directive operand", "type"),
    (11, "Block comment", "comment"),
    (12, "Character", "string"),
    (13, "Unclosed string", "unclosed"),
    (14, "Extended instruction", "keyword"),
    (15, "Comment directive", "comment"),
]

VHDL_STYLES = DEFAULT_STYLE + [
    (0, "White space", "default"),
    (1, "Comment", "comment"),
    (2, "Bang comment", "comment"),
    (3, "Number", "number"),
    (4, "String", "string"),
    (5, "Operator", "operator"),
    (6, "Identifier", "default"),
    (7, "Unclosed string", "unclosed"),
    (8, "Keyword", "keyword"),
    (9, "Standard operator", "keyword"),
    (10, "Attribute", "attribute"),
    (11, "Standard function", "builtin"),
    (12, "Standard package", "preprocessor"),
    (13, "Standard type", "type"),
    (14, "User word", "default"),
    (15, "Block comment", "comment"),
]

TEXT_STYLES = DEFAULT_STYLE + [(0, "Text", "default")]


# ---------------------------------------------------------------------------
# Keyword sets. A set given as None is written as an empty set (a KEYWORD
# element holding only a comment), so that later sets keep their index.

def words(text):
    """The words of text, each once, in their first order."""
    seen = []
    for word in text.split():
        if word not in seen:
            seen.append(word)
    return " ".join(seen)


C_KEYWORDS = words("""
    _Alignas _Alignof _Atomic _BitInt _Bool _Complex _Decimal128 _Decimal32 _Decimal64 _Generic _Imaginary
    _Noreturn _Static_assert _Thread_local alignas alignof auto bool break case char const constexpr continue
    default do double else enum extern false float for goto if inline int long nullptr register restrict return
    short signed sizeof static static_assert struct switch thread_local true typedef typeof typeof_unqual union
    unsigned void volatile while
""")

CPP_KEYWORDS = words("""
    alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t char32_t class
    co_await co_return co_yield compl concept const const_cast consteval constexpr constinit continue decltype
    default delete do double dynamic_cast else enum explicit export extern false final float for friend goto if
    import inline int long module mutable namespace new noexcept not not_eq nullptr operator or or_eq override
    private protected public register reinterpret_cast requires return short signed sizeof static static_assert
    static_cast struct switch template this thread_local throw true try typedef typeid typename union unsigned
    using virtual void volatile wchar_t while xor xor_eq
    __asm __cdecl __declspec __fastcall __forceinline __inline __int8 __int16 __int32 __int64 __stdcall
    __thiscall __vectorcall
""")

C_TYPES = words("""
    FILE NULL bool int8_t int16_t int32_t int64_t intmax_t intptr_t int_fast8_t int_fast16_t int_fast32_t
    int_fast64_t int_least8_t int_least16_t int_least32_t int_least64_t uint8_t uint16_t uint32_t uint64_t
    uintmax_t uintptr_t uint_fast8_t uint_fast16_t uint_fast32_t uint_fast64_t uint_least8_t uint_least16_t
    uint_least32_t uint_least64_t size_t ssize_t ptrdiff_t wchar_t wint_t char16_t char32_t max_align_t
    va_list time_t clock_t fpos_t div_t ldiv_t lldiv_t jmp_buf sig_atomic_t errno_t nullptr_t
""")

WINDOWS_TYPES = words("""
    ATOM BOOL BOOLEAN BYTE CALLBACK CHAR COLORREF CONST DWORD DWORD_PTR DWORD32 DWORD64 FALSE FLOAT HACCEL
    HANDLE HBITMAP HBRUSH HCURSOR HDC HFILE HFONT HGDIOBJ HGLOBAL HICON HINSTANCE HKEY HLOCAL HMENU HMODULE
    HPEN HRESULT HRGN HWND INT INT_PTR INT8 INT16 INT32 INT64 LONG LONG_PTR LONGLONG LPARAM LPBYTE LPCSTR
    LPCTSTR LPCVOID LPCWSTR LPDWORD LPHANDLE LPINT LPLONG LPSTR LPTSTR LPVOID LPWORD LPWSTR LRESULT PBYTE
    PCHAR PCSTR PCWSTR PDWORD PHANDLE PLONG PSTR PVOID PWSTR SHORT SIZE_T SSIZE_T TCHAR TRUE UCHAR UINT
    UINT_PTR UINT8 UINT16 UINT32 UINT64 ULONG ULONG_PTR ULONGLONG USHORT VOID WCHAR WINAPI WORD WPARAM
""")

CPP_TYPES = words("""
    std string wstring string_view vector array list deque map multimap set multiset unordered_map
    unordered_set queue priority_queue stack pair tuple optional variant any function unique_ptr shared_ptr
    weak_ptr span bitset atomic mutex thread future promise exception runtime_error logic_error
    invalid_argument out_of_range ostream istream iostream fstream ifstream ofstream stringstream
    istringstream ostringstream byte nullptr_t
""") + " " + C_TYPES + " " + WINDOWS_TYPES

DOXYGEN = words("""
    a addindex addtogroup anchor arg attention author authors b brief bug c callgraph callergraph category cite
    class code cond copybrief copydetails copydoc copyright date def defgroup deprecated details diafile dir
    docbookonly dontinclude dot dotfile e else elseif em endcode endcond enddocbookonly enddot endhtmlonly
    endif endinternal endlatexonly endlink endmanonly endmsc endparblock endrtfonly endsecreflist endverbatim
    enduml endxmlonly enum example exception extends file fn headerfile hidecallergraph hidecallgraph
    hideinitializer htmlinclude htmlonly idlexcept if ifnot image implements include includelineno ingroup
    interface internal invariant latexonly li line link mainpage manonly memberof msc mscfile n name namespace
    nosubgrouping note overload p package page par paragraph param parblock post pre private privatesection
    property protected protectedsection protocol public publicsection pure ref refitem related relatedalso
    relates relatesalso remark remarks result return returns retval rtfonly sa secreflist section see short
    showinitializer since skip skipline snippet startuml struct subpage subsection subsubsection tableofcontents
    test throw throws todo tparam typedef union until var verbatim verbinclude version vhdlflow warning
    weakgroup xmlonly xrefitem
""")

TASK_MARKERS = "TODO FIXME XXX HACK BUG NOTE"

JAVA_KEYWORDS = words("""
    abstract assert boolean break byte case catch char class const continue default do double else enum
    extends false final finally float for goto if implements import instanceof int interface long native new
    null package permits private protected public record return sealed short static strictfp super switch
    synchronized this throw throws transient true try var void volatile when while yield
""")

JAVA_TYPES = words("""
    AutoCloseable Boolean Byte Character CharSequence Class ClassLoader Cloneable Comparable Comparator
    Double Enum Error Exception Float Integer Iterable Long Math Number Object Override Process Record
    Runnable Runtime RuntimeException Short StackOverflowError String StringBuilder StringBuffer System
    Thread Throwable Void ArrayList Arrays Collection Collections Deque HashMap HashSet Iterator
    LinkedHashMap LinkedList List Map Objects Optional Queue Set SortedMap TreeMap TreeSet Stream
    Deprecated FunctionalInterface SuppressWarnings SafeVarargs IllegalArgumentException
    IllegalStateException IndexOutOfBoundsException NullPointerException UnsupportedOperationException
    IOException InterruptedException
""")

JAVADOC = words("""
    author code deprecated docRoot exception hidden index inheritDoc link linkplain literal param provides
    return see serial serialData serialField since snippet summary systemProperty throws uses value version
""")

CSHARP_KEYWORDS = words("""
    abstract add alias and as ascending async await base bool break by byte case catch char checked class
    const continue decimal default delegate descending do double dynamic else enum equals event explicit
    extern false finally fixed float for foreach from get global goto group if implicit in init int
    interface internal into is join let lock long managed nameof namespace new nint not notnull nuint null
    object on operator or orderby out override params partial private protected public readonly record ref
    remove required return sbyte scoped sealed select set short sizeof stackalloc static string struct switch
    this throw true try typeof uint ulong unchecked unmanaged unsafe ushort using var virtual void
    volatile when where while with yield
""")

CSHARP_TYPES = words("""
    Action Array ArgumentException ArgumentNullException ArgumentOutOfRangeException Attribute Boolean Byte
    Char Console Convert DateTime Decimal Delegate Dictionary Double Enum Environment EventArgs EventHandler
    Exception File Func Guid HashSet IDisposable IEnumerable IEnumerator IList ICollection IDictionary
    IComparable IEquatable Int16 Int32 Int64 InvalidOperationException KeyValuePair Lazy List Math
    NotImplementedException NotSupportedException Nullable Object Path Queue Random Span ReadOnlySpan SByte
    Single Stack Stream StreamReader StreamWriter String StringBuilder Task Thread TimeSpan Tuple Type
    UInt16 UInt32 UInt64 Uri ValueTask ValueTuple Version
""")

CSHARP_DOC = words("""
    c code description example exception include inheritdoc item list listheader para param paramref
    permission remarks returns see seealso summary term typeparam typeparamref value
""")

JS_KEYWORDS = words("""
    async await break case catch class const continue debugger default delete do else enum export extends
    false finally for function if implements import in instanceof interface let new null of package private
    protected public return static super switch this throw true try typeof undefined var void while with
    yield
""")

JS_GLOBALS = words("""
    AggregateError Array ArrayBuffer Atomics BigInt BigInt64Array BigUint64Array Boolean DataView Date Error
    EvalError FinalizationRegistry Float32Array Float64Array Function Infinity Int8Array Int16Array
    Int32Array Intl JSON Map Math NaN Number Object Promise Proxy RangeError ReferenceError Reflect RegExp
    Set SharedArrayBuffer String Symbol SyntaxError TypeError URIError Uint8Array Uint8ClampedArray
    Uint16Array Uint32Array WeakMap WeakRef WeakSet arguments console decodeURI decodeURIComponent document
    encodeURI encodeURIComponent eval globalThis isFinite isNaN module parseFloat parseInt require window
""")

JSDOC = words("""
    abstract access alias async augments author borrows callback class classdesc const constant constructs
    copyright default deprecated description enum event example exports extends external file fileoverview
    fires function generator global hideconstructor ignore implements inheritdoc inner instance interface
    kind lends license listens member memberof mixes mixin module name namespace override package param
    private property protected public readonly requires returns see since static summary this throws todo
    tutorial type typedef variation version yields
""")

TS_KEYWORDS = JS_KEYWORDS + " " + words("""
    abstract accessor any as asserts bigint boolean declare infer is keyof module namespace never number
    object out override readonly require satisfies string symbol type unique unknown
""")

TS_TYPES = JS_GLOBALS + " " + words("""
    Awaited Capitalize ConstructorParameters Exclude Extract InstanceType Lowercase NonNullable Omit
    OmitThisParameter Parameters Partial Pick Readonly ReadonlyArray Record Required ReturnType ThisType
    Uncapitalize Uppercase
""")

AS_KEYWORDS = words("""
    as break case catch class const continue default delete do dynamic each else extends false final finally
    for function if implements import in include instanceof interface internal is namespace native new null
    override package private protected public return static super switch this throw true try typeof use var
    void while with
""")

AS_TYPES = words("""
    Array Boolean Class Date Error Function Math Namespace Number Object QName RegExp String Vector XML
    XMLList int uint trace Event EventDispatcher MovieClip Sprite Stage DisplayObject TextField Timer
""")

OBJC_KEYWORDS = C_KEYWORDS + " " + words("""
    @autoreleasepool @catch @class @compatibility_alias @defs @dynamic @encode @end @finally @implementation
    @import @interface @optional @package @private @property @protected @protocol @public @required
    @selector @synchronized @synthesize @throw @try
    BOOL Class IMP NO Nil SEL YES id instancetype nil self super
    __autoreleasing __block __bridge __bridge_retained __bridge_transfer __kindof __strong __unsafe_unretained
    __weak _Nonnull _Null_unspecified _Nullable atomic nonatomic nonnull nullable null_resettable
    null_unspecified readonly readwrite
""")

OBJC_TYPES = words("""
    NSArray NSAttributedString NSAutoreleasePool NSBundle NSData NSDate NSDictionary NSError NSException
    NSFileManager NSInteger NSMutableArray NSMutableData NSMutableDictionary NSMutableSet NSMutableString
    NSNotification NSNotificationCenter NSNull NSNumber NSObject NSRange NSSet NSString NSTimeInterval
    NSTimer NSUInteger NSURL NSUserDefaults NSValue CGFloat CGPoint CGRect CGSize
""") + " " + C_TYPES

GO_KEYWORDS = words("""
    break case chan const continue default defer else fallthrough for func go goto if import interface map
    package range return select struct switch type var
""")

GO_PREDECLARED = words("""
    any append bool byte cap clear close comparable complex complex64 complex128 copy delete error false
    float32 float64 imag int int8 int16 int32 int64 iota len make max min new nil panic print println real
    recover rune string true uint uint8 uint16 uint32 uint64 uintptr
""")

RC_KEYWORDS = words("""
    ACCELERATORS ALT ASCII AUTO3STATE AUTOCHECKBOX AUTORADIOBUTTON BEGIN BITMAP BLOCK BUTTON CAPTION
    CHARACTERISTICS CHECKBOX CHECKED CLASS COMBOBOX CONTROL CTEXT CURSOR DEFPUSHBUTTON DESIGNINFO DIALOG
    DIALOGEX DISCARDABLE DLGINCLUDE DLGINIT EDITTEXT END EXSTYLE FILEFLAGS FILEFLAGSMASK FILEOS FILESUBTYPE
    FILETYPE FILEVERSION FIXED FONT GRAYED GROUPBOX GUIDELINES HELP HTML ICON IMPURE INACTIVE LANGUAGE LISTBOX
    LOADONCALL LTEXT MANIFEST MENU MENUBARBREAK MENUBREAK MENUEX MENUITEM MESSAGETABLE MOVEABLE NOINVERT
    NONSHARED NOT POPUP PRELOAD PRODUCTVERSION PURE PUSHBOX PUSHBUTTON RADIOBUTTON RCDATA RTEXT SCROLLBAR
    SEPARATOR SHARED SHIFT STATE3 STRINGTABLE STYLE TEXTINCLUDE TOOLBAR TYPELIB VALUE VERSION VERSIONINFO
    VIRTKEY
""")

RC_STYLES_WORDS = words("""
    BS_3STATE BS_AUTO3STATE BS_AUTOCHECKBOX BS_AUTORADIOBUTTON BS_BITMAP BS_BOTTOM BS_CENTER BS_CHECKBOX
    BS_DEFPUSHBUTTON BS_FLAT BS_GROUPBOX BS_ICON BS_LEFT BS_LEFTTEXT BS_MULTILINE BS_NOTIFY BS_OWNERDRAW
    BS_PUSHBUTTON BS_PUSHLIKE BS_RADIOBUTTON BS_RIGHT BS_TOP BS_VCENTER
    CBS_AUTOHSCROLL CBS_DISABLENOSCROLL CBS_DROPDOWN CBS_DROPDOWNLIST CBS_HASSTRINGS CBS_LOWERCASE
    CBS_NOINTEGRALHEIGHT CBS_OEMCONVERT CBS_OWNERDRAWFIXED CBS_OWNERDRAWVARIABLE CBS_SIMPLE CBS_SORT
    CBS_UPPERCASE
    DS_3DLOOK DS_ABSALIGN DS_CENTER DS_CENTERMOUSE DS_CONTEXTHELP DS_CONTROL DS_FIXEDSYS DS_LOCALEDIT
    DS_MODALFRAME DS_NOFAILCREATE DS_NOIDLEMSG DS_SETFONT DS_SETFOREGROUND DS_SHELLFONT DS_SYSMODAL
    ES_AUTOHSCROLL ES_AUTOVSCROLL ES_CENTER ES_LEFT ES_LOWERCASE ES_MULTILINE ES_NOHIDESEL ES_NUMBER
    ES_OEMCONVERT ES_PASSWORD ES_READONLY ES_RIGHT ES_UPPERCASE ES_WANTRETURN
    LBS_DISABLENOSCROLL LBS_EXTENDEDSEL LBS_HASSTRINGS LBS_MULTICOLUMN LBS_MULTIPLESEL LBS_NODATA
    LBS_NOINTEGRALHEIGHT LBS_NOREDRAW LBS_NOSEL LBS_NOTIFY LBS_OWNERDRAWFIXED LBS_OWNERDRAWVARIABLE LBS_SORT
    LBS_STANDARD LBS_USETABSTOPS LBS_WANTKEYBOARDINPUT
    SBS_BOTTOMALIGN SBS_HORZ SBS_LEFTALIGN SBS_RIGHTALIGN SBS_SIZEBOX SBS_SIZEGRIP SBS_TOPALIGN SBS_VERT
    SS_BITMAP SS_BLACKFRAME SS_BLACKRECT SS_CENTER SS_CENTERIMAGE SS_ENDELLIPSIS SS_ETCHEDFRAME SS_ETCHEDHORZ
    SS_ETCHEDVERT SS_GRAYFRAME SS_GRAYRECT SS_ICON SS_LEFT SS_LEFTNOWORDWRAP SS_NOPREFIX SS_NOTIFY
    SS_OWNERDRAW SS_PATHELLIPSIS SS_REALSIZEIMAGE SS_RIGHT SS_SIMPLE SS_SUNKEN SS_WHITEFRAME SS_WHITERECT
    SS_WORDELLIPSIS
    WS_BORDER WS_CAPTION WS_CHILD WS_CHILDWINDOW WS_CLIPCHILDREN WS_CLIPSIBLINGS WS_DISABLED WS_DLGFRAME
    WS_GROUP WS_HSCROLL WS_ICONIC WS_MAXIMIZE WS_MAXIMIZEBOX WS_MINIMIZE WS_MINIMIZEBOX WS_OVERLAPPED
    WS_OVERLAPPEDWINDOW WS_POPUP WS_POPUPWINDOW WS_SIZEBOX WS_SYSMENU WS_TABSTOP WS_THICKFRAME WS_VISIBLE
    WS_VSCROLL
    WS_EX_ACCEPTFILES WS_EX_APPWINDOW WS_EX_CLIENTEDGE WS_EX_CONTEXTHELP WS_EX_CONTROLPARENT
    WS_EX_DLGMODALFRAME WS_EX_LEFT WS_EX_LEFTSCROLLBAR WS_EX_LTRREADING WS_EX_MDICHILD WS_EX_NOPARENTNOTIFY
    WS_EX_RIGHT WS_EX_RIGHTSCROLLBAR WS_EX_RTLREADING WS_EX_STATICEDGE WS_EX_TOOLWINDOW WS_EX_TOPMOST
    WS_EX_TRANSPARENT WS_EX_WINDOWEDGE
    IDOK IDCANCEL IDABORT IDRETRY IDIGNORE IDYES IDNO IDCLOSE IDHELP IDC_STATIC
    LANG_NEUTRAL LANG_ENGLISH SUBLANG_NEUTRAL SUBLANG_DEFAULT SUBLANG_ENGLISH_US VS_FF_DEBUG VS_FF_PRERELEASE
    VS_FF_PATCHED VS_FF_PRIVATEBUILD VS_FF_SPECIALBUILD VS_FFI_FILEFLAGSMASK VOS_NT_WINDOWS32 VOS__WINDOWS32
    VFT_APP VFT_DLL VFT_DRV VFT_FONT VFT_STATIC_LIB VFT_UNKNOWN VFT2_UNKNOWN
""")

PHP_KEYWORDS = words("""
    __class__ __dir__ __file__ __function__ __halt_compiler __line__ __method__ __namespace__ __trait__
    abstract and array as bool break callable case catch class clone const continue declare default die do
    echo else elseif empty enddeclare endfor endforeach endif endswitch endwhile enum eval exit extends false
    final finally float fn for foreach function global goto if implements include include_once instanceof
    insteadof int interface isset iterable list match mixed namespace never new null object or parent print
    private protected public readonly require require_once return self static string switch throw trait true
    try unset use var void while xor yield
""")

HTML_WORDS = words("""
    a abbr acronym address applet area article aside audio b base basefont bdi bdo big blockquote body br
    button canvas caption center cite code col colgroup data datalist dd del details dfn dialog dir div dl
    dt em embed fieldset figcaption figure font footer form frame frameset h1 h2 h3 h4 h5 h6 head header
    hgroup hr html i iframe img input ins kbd label legend li link main map mark menu meta meter nav noframes
    noscript object ol optgroup option output p param picture pre progress q rp rt ruby s samp script search
    section select slot small source span strike strong style sub summary sup svg table tbody td template
    textarea tfoot th thead time title tr track tt u ul var video wbr
    abbr accept accept-charset accesskey action align alink alt archive async autocapitalize autocomplete
    autofocus autoplay axis background bgcolor border cellpadding cellspacing char charoff charset checked
    cite class classid clear codebase codetype color cols colspan compact content contenteditable controls
    coords crossorigin datetime declare decoding default defer dirname disabled download draggable enctype
    enterkeyhint face for formaction formenctype formmethod formnovalidate formtarget frameborder headers
    height hidden high href hreflang hspace http-equiv id inert inputmode integrity ismap itemid itemprop
    itemref itemscope itemtype kind lang language list loading longdesc loop low marginheight marginwidth max
    maxlength media method min minlength multiple muted name nohref nomodule nonce noresize noshade novalidate
    nowrap onabort onafterprint onbeforeprint onbeforeunload onblur oncanplay onchange onclick oncontextmenu
    oncopy oncut ondblclick ondrag ondragend ondragenter ondragleave ondragover ondragstart ondrop onerror
    onfocus onhashchange oninput oninvalid onkeydown onkeypress onkeyup onload onmessage onmousedown
    onmousemove onmouseout onmouseover onmouseup onoffline ononline onpaste onpause onplay onpopstate
    onreset onresize onscroll onselect onstorage onsubmit ontoggle onunload onwheel open optimum pattern ping
    placeholder playsinline popover popovertarget poster preload profile readonly referrerpolicy rel
    required rev reversed role rows rowspan rules sandbox scheme scope scrolling selected shape size sizes
    spellcheck src srcdoc srclang srcset standby start step summary tabindex target text translate type
    usemap valign value valuetype version vlink vspace width wrap xmlns
""")

VBSCRIPT_KEYWORDS = words("""
    and as boolean byref byte byval call case class const currency date debug dim do double each else elseif
    empty end endif enum eqv erase error event exit explicit false for friend function get global gosub goto
    if imp implements in integer is let lib like load long loop lset me mod new next not nothing null object
    on option optional or paramarray preserve private property public raiseevent randomize redim rem resume
    rset select set single static step stop string sub then to true type typeof until variant wend while with
    xor
""")

VBSCRIPT_FUNCTIONS = words("""
    abs array asc atn cbool cbyte ccur cdate cdbl chr cint clng cos createobject csng cstr date dateadd
    datediff datepart dateserial datevalue day escape eval exp filter fix formatcurrency formatdatetime
    formatnumber formatpercent getlocale getobject getref hex hour inputbox instr instrrev int isarray isdate
    isempty isnull isnumeric isobject join lbound lcase left len loadpicture log ltrim mid minute month
    monthname msgbox now oct replace rgb right rnd round rtrim scriptengine second setlocale sgn sin space
    split sqr strcomp string strreverse tan time timer timeserial timevalue trim typename ubound ucase
    unescape vartype weekday weekdayname year wscript
""")

VB_KEYWORDS = words("""
    addhandler addressof alias and andalso ansi as assembly async auto await boolean byref byte byval call
    case catch cbool cbyte cchar cdate cdbl cdec char cint class clng cobj const continue csbyte cshort csng
    cstr ctype cuint culng currency cushort custom date decimal declare default defbool defbyte defcur
    defdate defdbl defint deflng defobj defsng defstr defvar delegate dim directcast do double each else
    elseif end endif enum erase error event exit false finally for friend function get gettype
    getxmlnamespace global gosub goto handles if implements imports in inherits integer interface is isnot
    iterator let lib like long loop me mod module mustinherit mustoverride mybase myclass nameof namespace
    narrowing new next not nothing notinheritable notoverridable object of on operator option optional or
    orelse out overloads overridable overrides paramarray partial preserve private property protected public
    raiseevent readonly redim rem removehandler resume return sbyte select set shadows shared short single
    static step stop string structure sub synclock then throw to true try trycast type typeof uinteger ulong
    until ushort using variant wend when while widening with withevents writeonly xor yield
""")

VB_FUNCTIONS = words("""
    abs appactivate array asc ascw atn beep chdir chdrive choose chr chrw command cos createobject curdir
    cvar cverr dateadd datediff datepart dateserial datevalue day ddb dir doevents environ eof err error exp
    fileattr filecopy filedatetime filelen filter fix format formatcurrency formatdatetime formatnumber
    formatpercent freefile fv getattr getobject getsetting hex hour iif imestatus input inputbox instr
    instrrev int ipmt irr isarray isdate isempty iserror ismissing isnull isnumeric isobject join kill lbound
    lcase left len loc lof log ltrim mid minute mirr mkdir month monthname msgbox now nper npv oct partition
    pmt ppmt pv qbcolor rate replace reset rgb right rmdir rnd round rtrim savesetting second seek sendkeys
    setattr sgn shell sin sln space split sqr str strcomp strconv strreverse switch syd tab tan time timer
    timeserial timevalue trim typename ubound ucase val vartype weekday weekdayname year
""")

PYTHON_KEYWORDS = words("""
    False None True and as assert async await break class continue def del elif else except finally for from
    global if import in is lambda nonlocal not or pass raise return try while with yield
""")

PYTHON_BUILTINS = words("""
    __import__ __name__ __file__ __doc__ abs aiter all anext any ascii bin bool breakpoint bytearray bytes
    callable chr classmethod cls compile complex copyright credits delattr dict dir divmod enumerate eval exec
    exit filter float format frozenset getattr globals hasattr hash help hex id input int isinstance
    issubclass iter len license list locals map max memoryview min next object oct open ord pow print
    property quit range repr reversed round self set setattr slice sorted staticmethod str sum super tuple
    vars zip
    ArithmeticError AssertionError AttributeError BaseException BaseExceptionGroup BlockingIOError
    BrokenPipeError BufferError BytesWarning ChildProcessError ConnectionAbortedError ConnectionError
    ConnectionRefusedError ConnectionResetError DeprecationWarning EOFError Ellipsis EncodingWarning
    EnvironmentError Exception ExceptionGroup FileExistsError FileNotFoundError FloatingPointError
    FutureWarning GeneratorExit IOError ImportError ImportWarning IndentationError IndexError
    InterruptedError IsADirectoryError KeyError KeyboardInterrupt LookupError MemoryError
    ModuleNotFoundError NameError NotADirectoryError NotImplemented NotImplementedError OSError
    OverflowError PendingDeprecationWarning PermissionError ProcessLookupError RecursionError
    ReferenceError ResourceWarning RuntimeError RuntimeWarning StopAsyncIteration StopIteration SyntaxError
    SyntaxWarning SystemError SystemExit TabError TimeoutError TypeError UnboundLocalError
    UnicodeDecodeError UnicodeEncodeError UnicodeError UnicodeTranslateError UnicodeWarning UserWarning
    ValueError Warning ZeroDivisionError
""")

SGML_WORDS = words("""
    ATTLIST DOCTYPE ELEMENT ENTITY NOTATION PUBLIC SYSTEM CDATA EMPTY ANY PCDATA ID IDREF IDREFS ENTITIES
    NMTOKEN NMTOKENS NDATA INCLUDE IGNORE #PCDATA #REQUIRED #IMPLIED #FIXED
""")

CSS1 = words("""
    background background-attachment background-color background-image background-position background-repeat
    border border-bottom border-bottom-width border-color border-left border-left-width border-right
    border-right-width border-style border-top border-top-width border-width clear color display float font
    font-family font-size font-style font-variant font-weight height letter-spacing line-height list-style
    list-style-image list-style-position list-style-type margin margin-bottom margin-left margin-right
    margin-top padding padding-bottom padding-left padding-right padding-top text-align text-decoration
    text-indent text-transform vertical-align white-space width word-spacing
""")

CSS_PSEUDO_CLASSES = words("""
    active any-link autofill blank checked current default defined dir disabled empty enabled first
    first-child first-of-type focus focus-visible focus-within fullscreen future has host host-context hover
    in-range indeterminate invalid is lang last-child last-of-type left link local-link modal not nth-child
    nth-col nth-last-child nth-last-col nth-last-of-type nth-of-type only-child only-of-type optional
    out-of-range past paused picture-in-picture placeholder-shown playing popover-open read-only read-write
    required right root scope target target-within user-invalid user-valid valid visited where
""")

CSS2 = words("""
    azimuth border-bottom-color border-bottom-style border-collapse border-left-color border-left-style
    border-right-color border-right-style border-spacing border-top-color border-top-style bottom
    caption-side clip content counter-increment counter-reset cue cue-after cue-before cursor direction
    elevation empty-cells font-size-adjust font-stretch left max-height max-width min-height min-width
    orphans outline outline-color outline-style outline-width overflow page-break-after page-break-before
    page-break-inside pause pause-after pause-before pitch pitch-range play-during position quotes richness
    right speak speak-header speak-numeral speak-punctuation speech-rate stress table-layout top unicode-bidi
    visibility voice-family volume widows z-index
""")

CSS3 = words("""
    accent-color align-content align-items align-self all animation animation-delay animation-direction
    animation-duration animation-fill-mode animation-iteration-count animation-name animation-play-state
    animation-timing-function appearance aspect-ratio backdrop-filter backface-visibility
    background-blend-mode background-clip background-origin background-position-x background-position-y
    background-size block-size border-block border-block-color border-block-end border-block-start
    border-block-style border-block-width border-bottom-left-radius border-bottom-right-radius
    border-end-end-radius border-end-start-radius border-image border-image-outset border-image-repeat
    border-image-slice border-image-source border-image-width border-inline border-inline-color
    border-inline-end border-inline-start border-inline-style border-inline-width border-radius
    border-start-end-radius border-start-start-radius border-top-left-radius border-top-right-radius
    box-decoration-break box-shadow box-sizing break-after break-before break-inside caret-color clip-path
    color-scheme column-count column-fill column-gap column-rule column-rule-color column-rule-style
    column-rule-width column-span column-width columns contain container container-name container-type
    content-visibility counter-set filter flex flex-basis flex-direction flex-flow flex-grow flex-shrink
    flex-wrap font-display font-feature-settings font-kerning font-optical-sizing font-synthesis
    font-variant-caps font-variant-east-asian font-variant-ligatures font-variant-numeric
    font-variation-settings gap grid grid-area grid-auto-columns grid-auto-flow grid-auto-rows grid-column
    grid-column-end grid-column-start grid-row grid-row-end grid-row-start grid-template grid-template-areas
    grid-template-columns grid-template-rows hanging-punctuation hyphens image-orientation image-rendering
    inline-size inset inset-block inset-block-end inset-block-start inset-inline inset-inline-end
    inset-inline-start isolation justify-content justify-items justify-self line-break margin-block
    margin-block-end margin-block-start margin-inline margin-inline-end margin-inline-start mask mask-clip
    mask-composite mask-image mask-mode mask-origin mask-position mask-repeat mask-size mask-type
    max-block-size max-inline-size min-block-size min-inline-size mix-blend-mode object-fit object-position
    offset offset-distance offset-path offset-rotate opacity order outline-offset overflow-anchor
    overflow-wrap overflow-x overflow-y overscroll-behavior overscroll-behavior-x overscroll-behavior-y
    padding-block padding-block-end padding-block-start padding-inline padding-inline-end
    padding-inline-start perspective perspective-origin place-content place-items place-self pointer-events
    resize rotate row-gap scale scroll-behavior scroll-margin scroll-padding scroll-snap-align
    scroll-snap-stop scroll-snap-type scrollbar-color scrollbar-gutter scrollbar-width shape-image-threshold
    shape-margin shape-outside tab-size text-align-last text-combine-upright text-decoration-color
    text-decoration-line text-decoration-skip-ink text-decoration-style text-decoration-thickness
    text-emphasis text-emphasis-color text-emphasis-position text-emphasis-style text-justify
    text-orientation text-overflow text-rendering text-shadow text-underline-offset text-underline-position
    touch-action transform transform-box transform-origin transform-style transition transition-delay
    transition-duration transition-property transition-timing-function translate user-select will-change
    word-break word-wrap writing-mode
""")

CSS_PSEUDO_ELEMENTS = words("""
    after backdrop before cue file-selector-button first-letter first-line grammar-error marker part
    placeholder selection slotted spelling-error target-text
""")

CSS_VENDOR_PROPERTIES = words("""
    -moz-appearance -moz-border-radius -moz-box-shadow -moz-box-sizing -moz-osx-font-smoothing
    -moz-tab-size -moz-transform -moz-transition -moz-user-select -ms-filter -ms-flex -ms-grid
    -ms-overflow-style -ms-text-size-adjust -ms-transform -ms-user-select -webkit-animation
    -webkit-appearance -webkit-backdrop-filter -webkit-border-radius -webkit-box-orient -webkit-box-shadow
    -webkit-box-sizing -webkit-font-smoothing -webkit-line-clamp -webkit-mask -webkit-mask-image
    -webkit-overflow-scrolling -webkit-tap-highlight-color -webkit-text-fill-color -webkit-text-size-adjust
    -webkit-text-stroke -webkit-transform -webkit-transition -webkit-user-select
""")

CSS_VENDOR_PSEUDO_CLASSES = words("""
    -moz-any -moz-focusring -moz-placeholder -moz-ui-invalid -ms-input-placeholder -webkit-any
    -webkit-autofill -webkit-full-screen
""")

CSS_VENDOR_PSEUDO_ELEMENTS = words("""
    -moz-focus-inner -moz-placeholder -moz-progress-bar -moz-range-thumb -moz-selection -ms-clear -ms-expand
    -ms-reveal -webkit-inner-spin-button -webkit-input-placeholder -webkit-outer-spin-button
    -webkit-progress-bar -webkit-progress-value -webkit-scrollbar -webkit-scrollbar-thumb
    -webkit-scrollbar-track -webkit-search-cancel-button -webkit-slider-thumb
""")

SQL_KEYWORDS = words("""
    absolute action add after all alter and any as asc at authorization auto_increment backup before begin
    between body both break browse bulk by cascade case cast catch check checkpoint close clustered collate
    column commit compute conflict constraint contains containstable continue convert create cross current
    current_date current_time current_timestamp current_user cursor database deallocate declare default
    deferrable deferred delete deny desc describe disk distinct distributed do drop dump each else elsif end
    errlvl escape except exception exclusive exec execute exists exit explain external fetch file fillfactor
    first following for foreign freetext freetexttable from full function glob go goto grant group having
    holdlock identity identity_insert identitycol if ignore ilike immediate in index inner inout insert
    instead intersect into is isnull isolation join key kill last left level like limit lineno load lock loop
    match materialized merge modify natural next no nocheck nonclustered not nothing notnull null nulls of
    off offset offsets on only open opendatasource openquery openrowset openxml option or order others out
    outer over package partition percent pivot plan pragma preceding primary print prior proc procedure
    public raise raiserror range read readtext reconfigure recursive references referencing reindex release
    rename replace replication restore restrict return returning returns revert revoke right rollback row
    rowcount rowguidcol rows rule save savepoint schema select session_user set setuser share show shutdown
    some statistics system_user table tablesample temp temporary textsize then ties to top tran transaction
    trigger truncate try type unbounded union unique unpivot update updatetext use user using vacuum values
    view virtual waitfor when where while window with within without work writetext
""")

SQL_FUNCTIONS = words("""
    abs acos ascii asin atan atan2 avg ceil ceiling char_length character_length charindex chr coalesce
    concat concat_ws cos count cume_dist current_setting date_add date_format date_part date_sub date_trunc
    dateadd datediff datename datepart day dense_rank exp extract first_value floor format getdate
    getutcdate greatest group_concat iif ifnull initcap instr isnumeric json_extract json_value lag
    last_value lead least left len length listagg ln log log10 lower lpad ltrim max min mod month newid now
    nth_value ntile nullif nvl nvl2 patindex percent_rank pi position power quotename rand rank regexp_like
    regexp_replace regexp_substr replicate reverse round row_number rpad rtrim sign sin soundex space sqrt
    stddev str string_agg stuff substr substring sum sysdate sysdatetime tan to_char to_date to_number
    translate trim trunc upper variance year
""")

SQL_TYPES = words("""
    bigint binary bit blob bool boolean bytea char character clob cursor date datetime datetime2
    datetimeoffset dec decimal double enum float geography geometry hierarchyid image int integer interval
    json jsonb long longtext mediumint mediumtext money nchar nclob ntext number numeric nvarchar nvarchar2
    precision raw real rowid rowversion serial smalldatetime smallint smallmoney sql_variant text time
    timestamp tinyint tinytext uniqueidentifier uuid varbinary varchar varchar2 varying xml year
""")

PERL_KEYWORDS = words("""
    __DATA__ __END__ __FILE__ __LINE__ __PACKAGE__ __SUB__ AUTOLOAD BEGIN CHECK DESTROY END INIT UNITCHECK
    abs accept alarm and atan2 bind binmode bless break caller chdir chmod chomp chop chown chr chroot close
    closedir cmp connect continue cos crypt dbmclose dbmopen default defined delete die do dump each
    endgrent endhostent endnetent endprotoent endpwent endservent eof eq eval evalbytes exec exists exit exp
    fc fcntl fileno flock for foreach fork format formline ge getc getgrent getgrgid getgrnam gethostbyaddr
    gethostbyname gethostent getlogin getnetbyaddr getnetbyname getnetent getpeername getpgrp getppid
    getpriority getprotobyname getprotobynumber getprotoent getpwent getpwnam getpwuid getservbyname
    getservbyport getservent getsockname getsockopt given glob gmtime goto grep gt hex if import index int
    ioctl join keys kill last lc lcfirst le length link listen local localtime lock log lstat lt m map mkdir
    msgctl msgget msgrcv msgsnd my ne next no not oct open opendir or ord our pack package pipe pop pos print
    printf prototype push q qq qr quotemeta qw qx rand read readdir readline readlink readpipe recv redo ref
    rename require reset return reverse rewinddir rindex rmdir s say scalar seek seekdir select semctl semget
    semop send setgrent sethostent setnetent setpgrp setpriority setprotoent setpwent setservent setsockopt
    shift shmctl shmget shmread shmwrite shutdown sin sleep socket socketpair sort splice split sprintf sqrt
    srand stat state study sub substr symlink syscall sysopen sysread sysseek system syswrite tell telldir
    tie tied time times tr truncate uc ucfirst umask undef unless unlink unpack unshift untie until use utime
    values vec wait waitpid wantarray warn when while write x xor y
""")

RUBY_KEYWORDS = words("""
    __ENCODING__ __FILE__ __LINE__ __method__ BEGIN END alias and attr_accessor attr_reader attr_writer begin
    block_given? break case catch class def defined? do else elsif end ensure extend false for if in include
    lambda loop module module_function next nil not or prepend private proc protected public puts raise redo
    require require_relative rescue retry return self super then throw true undef unless until when while
    yield
""")

RUST_KEYWORDS = words("""
    abstract as async await become box break const continue crate do dyn else enum extern false final fn for
    if impl in let loop macro match mod move mut override priv pub ref return self Self static struct super
    trait true try type typeof union unsafe unsized use virtual where while yield
""")

RUST_TYPES = words("""
    bool char f32 f64 i8 i16 i32 i64 i128 isize str u8 u16 u32 u64 u128 usize
""")

RUST_STD = words("""
    Arc BTreeMap BTreeSet Box Cell Clone Copy Cow Debug Default Display Drop Eq Err Fn FnMut FnOnce From
    Hash HashMap HashSet Into Iterator LinkedList None Ok Option Ord PartialEq PartialOrd Rc RefCell Result
    Send Sized Some String Sync ToOwned ToString Vec VecDeque
""")

LUA_KEYWORDS = words("""
    and break do else elseif end false for function goto if in local nil not or repeat return then true
    until while
""")

LUA_BASIC = words("""
    _ENV _G _VERSION assert collectgarbage dofile error getmetatable ipairs load loadfile next pairs pcall
    print rawequal rawget rawlen rawset require select setmetatable tonumber tostring type warn xpcall
""")

LUA_LIBRARY = words("""
    string.byte string.char string.dump string.find string.format string.gmatch string.gsub string.len
    string.lower string.match string.pack string.packsize string.rep string.reverse string.sub string.unpack
    string.upper table.concat table.insert table.move table.pack table.remove table.sort table.unpack
    math.abs math.acos math.asin math.atan math.ceil math.cos math.deg math.exp math.floor math.fmod math.huge
    math.log math.max math.maxinteger math.min math.mininteger math.modf math.pi math.rad math.random
    math.randomseed math.sin math.sqrt math.tan math.tointeger math.type math.ult utf8.char utf8.charpattern
    utf8.codepoint utf8.codes utf8.len utf8.offset
""")

LUA_SYSTEM = words("""
    coroutine.close coroutine.create coroutine.isyieldable coroutine.resume coroutine.running coroutine.status
    coroutine.wrap coroutine.yield io.close io.flush io.input io.lines io.open io.output io.popen io.read
    io.stderr io.stdin io.stdout io.tmpfile io.type io.write os.clock os.date os.difftime os.execute os.exit
    os.getenv os.remove os.rename os.setlocale os.time os.tmpname debug.debug debug.gethook debug.getinfo
    debug.getlocal debug.getmetatable debug.getregistry debug.getupvalue debug.sethook debug.setlocal
    debug.setmetatable debug.setupvalue debug.traceback package.config package.cpath package.loaded
    package.loadlib package.path package.preload package.searchers package.searchpath
""")

PASCAL_KEYWORDS = words("""
    absolute abstract and array as asm assembler automated begin case cdecl class const constructor contains
    default deprecated destructor dispid dispinterface div do downto dynamic else end except export exports
    external far file final finalization finally for forward function generic goto helper if implementation
    implements in index inherited initialization inline interface is label library message mod name near nil
    nodefault not object of on operator or out overload override package packed pascal platform private
    procedure program property protected public published raise read readonly record register reintroduce
    repeat requires resourcestring safecall sealed set shl shr specialize static stdcall stored strict string
    then threadvar to try type unit until uses var varargs virtual while with write writeonly xor
""")

BATCH_INTERNAL = words("""
    assoc break call cd chdir cls color copy date defined del dir do echo else endlocal equ erase errorlevel
    exist exit for ftype geq goto gtr if in leq lss md mkdir mklink move neq not nul path pause popd prompt
    pushd rd rem ren rename rmdir set setlocal shift start time title type ver verify vol
    cmdextversion enabledelayedexpansion enableextensions disabledelayedexpansion disableextensions
""")

BATCH_EXTERNAL = words("""
    arp at attrib bcdedit cacls certutil chcp chkdsk choice cipher clip cmd comp compact convert curl
    diskpart doskey driverquery expand fc find findstr forfiles format fsutil ftp getmac gpresult help
    hostname icacls ipconfig label logman more msiexec net netsh netstat nslookup openfiles pathping ping
    powercfg powershell print query reg regedit regsvr32 replace robocopy route runas sc schtasks setx sfc
    shutdown sort subst systeminfo takeown tar taskkill tasklist timeout tracert tree tzutil where whoami
    wmic xcopy
""")

POWERSHELL_KEYWORDS = words("""
    begin break catch class clean configuration continue data define do dynamicparam else elseif end enum
    exit filter finally for foreach from function hidden if in inlinescript parallel param process return
    sequence static switch throw trap try until using var while workflow
    -and -as -band -bnot -bor -bxor -ccontains -ceq -cge -cgt -cin -cle -clike -clt -cmatch -cne -cnotcontains
    -cnotin -cnotlike -cnotmatch -contains -creplace -csplit -eq -f -ge -gt -icontains -ieq -ige -igt -iin
    -ile -ilike -ilt -imatch -in -ine -inotcontains -inotin -inotlike -inotmatch -ireplace -is -isnot -isplit
    -join -le -like -lt -match -ne -not -notcontains -notin -notlike -notmatch -or -replace -shl -shr -split
    -xor
""")

POWERSHELL_CMDLETS = words("""
    add-computer add-content add-history add-member add-pssnapin add-type checkpoint-computer clear-content
    clear-history clear-host clear-item clear-itemproperty clear-variable compare-object complete-transaction
    connect-pssession convertfrom-csv convertfrom-json convertfrom-securestring convertfrom-stringdata
    convert-path convertto-csv convertto-html convertto-json convertto-securestring convertto-xml copy-item
    copy-itemproperty debug-process disable-psbreakpoint disconnect-pssession enable-psbreakpoint
    enter-pssession exit-pssession export-alias export-clixml export-csv export-formatdata
    export-modulemember foreach-object format-custom format-hex format-list format-table format-wide
    get-acl get-alias get-authenticodesignature get-childitem get-ciminstance get-command get-content
    get-credential get-culture get-date get-event get-eventlog get-executionpolicy get-filehash get-help
    get-history get-host get-hotfix get-item get-itemproperty get-itempropertyvalue get-job get-location
    get-member get-module get-process get-psbreakpoint get-psdrive get-psprovider get-pssession get-random
    get-service get-timezone get-uiculture get-unique get-variable get-verb get-wmiobject group-object
    import-alias import-clixml import-csv import-localizeddata import-module import-powershelldatafile
    invoke-command invoke-expression invoke-history invoke-item invoke-restmethod invoke-webrequest
    invoke-wmimethod join-path measure-command measure-object move-item move-itemproperty new-alias new-event
    new-guid new-item new-itemproperty new-job new-module new-object new-psdrive new-pssession new-service
    new-temporaryfile new-timespan new-variable out-default out-file out-gridview out-host out-null
    out-printer out-string pop-location push-location read-host receive-job register-engineevent
    register-objectevent remove-computer remove-event remove-item remove-itemproperty remove-job
    remove-module remove-psbreakpoint remove-psdrive remove-pssession remove-variable rename-computer
    rename-item rename-itemproperty resolve-path restart-computer restart-service resume-service
    select-object select-string select-xml send-mailmessage set-acl set-alias set-authenticodesignature
    set-content set-date set-executionpolicy set-item set-itemproperty set-location set-psbreakpoint
    set-psdebug set-service set-strictmode set-timezone set-variable sort-object split-path start-job
    start-process start-service start-sleep start-transaction start-transcript stop-computer stop-job
    stop-process stop-service stop-transcript suspend-service tee-object test-connection test-json
    test-modulemanifest test-path trace-command unblock-file undo-transaction unregister-event
    update-formatdata update-help update-typedata wait-event wait-job wait-process where-object write-debug
    write-error write-host write-information write-output write-progress write-verbose write-warning
""")

POWERSHELL_ALIASES = words("""
    ac asnp cat cd chdir clc clear clhy cli clp cls clv cnsn compare copy cp cpi cpp cvpa dbp del diff dir
    dnsn ebp echo epal epcsv epsn erase etsn exsn fc fhx fl foreach ft fw gal gbp gc gci gcm gcs gdr ghy gi
    gin gjb gl gm gmo gp gps gpv group gsn gsnp gsv gtz gu gv gwmi h history icm iex ihy ii ipal ipcsv ipmo
    ipsn irm ise iwmi iwr kill lp ls man md measure mi mount move mp mv nal ndr ni nmo npssc nsn nv ogv oh
    popd ps pushd pwd r rbp rcjb rcsn rd rdr ren ri rjb rm rmdir rmo rni rnp rp rsn rsnp rujb rv rvpa rwmi
    sajb sal saps sasv sbp sc select set shcm si sl sleep sls sort sp spjb spps spsv start stz sujb sv swmi
    tee trcm type wget where wjb write
""")

POWERSHELL_DOC = words("""
    component description example externalhelp forwardhelpcategory forwardhelptargetname functionality
    inputs link notes outputs parameter remotehelprunspace role synopsis
""")

BASH_KEYWORDS = words("""
    case coproc do done elif else esac fi for function if in select then time until while
    alias bg bind break builtin caller cd command compgen complete compopt continue declare dirs disown echo
    enable eval exec exit export false fc fg getopts hash help history jobs kill let local logout mapfile
    popd printf pushd pwd read readarray readonly return set shift shopt source suspend test times trap true
    type typeset ulimit umask unalias unset wait
""")

FORTRAN_KEYWORDS = words("""
    abstract all allocatable allocate assign assignment associate asynchronous backspace bind block blockdata
    call case character class close codimension common complex concurrent contains contiguous continue
    critical cycle data deallocate default deferred dimension do double doubleprecision elemental else
    elseif elsewhere end endassociate endblock endblockdata endcritical enddo endenum endfile endforall
    endfunction endif endinterface endmodule endprocedure endprogram endselect endsubmodule endsubroutine
    endtype endwhere entry enum enumerator equivalence error exit extends external file final flush forall
    format function generic go goto if images implicit import impure in include inout integer intent
    interface intrinsic kind len lock logical memory module namelist none non_intrinsic non_overridable
    nopass nullify only open operator optional out parameter pass pause pointer precision print private
    procedure program protected public pure read real recursive result return rewind save select sequence
    stop submodule subroutine sync target then to type unlock use value volatile wait where while write
""")

FORTRAN_INTRINSICS = words("""
    abs achar acos acosh adjustl adjustr aimag aint all allocated anint any asin asinh associated atan atan2
    atanh bessel_j0 bessel_j1 bessel_jn bessel_y0 bessel_y1 bessel_yn bit_size btest ceiling char cmplx
    command_argument_count conjg cos cosh count cpu_time cshift date_and_time dble digits dim dot_product
    dprod eoshift epsilon erf erfc exp exponent extends_type_of findloc floor fraction gamma
    get_command get_command_argument get_environment_variable huge hypot iachar iall iand iany ibclr ibits
    ibset ichar ieor index int ior iparity is_iostat_end is_iostat_eor ishft ishftc kind lbound leadz len
    len_trim lge lgt lle llt log log10 log_gamma logical matmul max maxexponent maxloc maxval merge min
    minexponent minloc minval mod modulo move_alloc mvbits nearest new_line nint norm2 not null
    num_images pack parity popcnt poppar precision present product radix random_number random_seed range
    real repeat reshape rrspacing same_type_as scale scan selected_char_kind selected_int_kind
    selected_real_kind set_exponent shape shifta shiftl shiftr sign sin sinh size spacing spread sqrt
    storage_size sum system_clock tan tanh this_image tiny trailz transfer transpose trim ubound unpack
    verify
""")

NSIS_INSTRUCTIONS = words("""
    Abort AddBrandingImage AddSize AllowRootDirInstall AllowSkipFiles AutoCloseWindow BGFont BGGradient
    BrandingText BringToFront Call CallInstDLL Caption ChangeUI CheckBitmap ClearErrors CompletedText
    ComponentText CopyFiles CRCCheck CreateDirectory CreateFont CreateShortcut Delete DeleteINISec
    DeleteINIStr DeleteRegKey DeleteRegValue DetailPrint DetailsButtonText DirText DirVar DirVerify
    EnableWindow EnumRegKey EnumRegValue Exch Exec ExecShell ExecShellWait ExecWait ExpandEnvStrings File
    FileBufSize FileClose FileErrorText FileOpen FileRead FileReadByte FileReadUTF16LE FileReadWord FileSeek
    FileWrite FileWriteByte FileWriteUTF16LE FileWriteWord FindClose FindFirst FindNext FindWindow FlushINI
    Function FunctionEnd GetCurInstType GetCurrentAddress GetDlgItem GetDLLVersion GetDLLVersionLocal
    GetErrorLevel GetFileTime GetFileTimeLocal GetFullPathName GetFunctionAddress GetInstDirError
    GetKnownFolderPath GetLabelAddress GetTempFileName GetWinVer Goto HideWindow Icon IfAbort IfErrors
    IfFileExists IfRebootFlag IfRtlLanguage IfShellVarContextAll IfSilent InitPluginsDir InstallButtonText
    InstallColors InstallDir InstallDirRegKey InstProgressFlags InstType InstTypeGetText InstTypeSetText
    Int64Cmp Int64CmpU Int64Fmt IntCmp IntCmpU IntFmt IntOp IntPtrCmp IntPtrCmpU IntPtrOp IsWindow
    LangString LicenseBkColor LicenseData LicenseForceSelection LicenseLangString LicenseText LoadAndSetImage
    LoadLanguageFile LockWindow LogSet LogText ManifestDPIAware ManifestLongPathAware ManifestSupportedOS
    MessageBox MiscButtonText Name Nop OutFile Page PageCallbacks PageEx PageExEnd PEAddResource
    PEDllCharacteristics PERemoveResource PESubsysVer Pop Push Quit ReadEnvStr ReadINIStr ReadMemory
    ReadRegDWORD ReadRegStr Reboot RegDLL Rename RequestExecutionLevel ReserveFile Return RMDir SearchPath
    Section SectionEnd SectionGetFlags SectionGetInstTypes SectionGetSize SectionGetText SectionGroup
    SectionGroupEnd SectionIn SectionInstType SectionSetFlags SectionSetInstTypes SectionSetSize
    SectionSetText SendMessage SetAutoClose SetBrandingImage SetCompress SetCompressor SetCompressorDictSize
    SetCtlColors SetCurInstType SetDatablockOptimize SetDateSave SetDetailsPrint SetDetailsView
    SetErrorLevel SetErrors SetFileAttributes SetFont SetOutPath SetOverwrite SetRebootFlag SetRegView
    SetShellVarContext SetSilent ShowInstDetails ShowUninstDetails ShowWindow SilentInstall SilentUnInstall
    Sleep SpaceTexts StrCmp StrCmpS StrCpy StrLen SubCaption SubSection SubSectionEnd Target Unicode
    UninstallButtonText UninstallCaption UninstallIcon UninstallSubCaption UninstallText UninstPage UnRegDLL
    Var VIAddVersionKey VIFileVersion VIProductVersion WindowIcon WriteINIStr WriteRegBin WriteRegDWORD
    WriteRegExpandStr WriteRegMultiStr WriteRegNone WriteRegStr WriteUninstaller XPStyle
    !addincludedir !addplugindir !appendfile !cd !define !delfile !echo !else !endif !error !execute !finalize
    !getdllversion !gettlbversion !if !ifdef !ifmacrodef !ifmacrondef !ifndef !include !insertmacro !macro
    !macroend !macroundef !makensis !packhdr !pragma !searchparse !searchreplace !system !tempfile !undef
    !uninstfinalize !verbose !warning
""")

NSIS_VARIABLES = words("""
    $0 $1 $2 $3 $4 $5 $6 $7 $8 $9 $R0 $R1 $R2 $R3 $R4 $R5 $R6 $R7 $R8 $R9 $ADMINTOOLS $APPDATA $CDBURN_AREA
    $CMDLINE $COMMONFILES $COMMONFILES32 $COMMONFILES64 $COOKIES $DESKTOP $DOCUMENTS $EXEDIR $EXEFILE $EXEPATH
    $FAVORITES $FONTS $HISTORY $HWNDPARENT $INSTDIR $INTERNET_CACHE $LANGUAGE $LOCALAPPDATA $MUSIC $NETHOOD
    $OUTDIR $PICTURES $PLUGINSDIR $PRINTHOOD $PROFILE $PROGRAMFILES $PROGRAMFILES32 $PROGRAMFILES64 $QUICKLAUNCH
    $RECENT $RESOURCES $RESOURCES_LOCALIZED $SENDTO $SMPROGRAMS $SMSTARTUP $STARTMENU $SYSDIR $TEMP
    $TEMPLATES $VIDEOS $WINDIR
""")

TCL_KEYWORDS = words("""
    after append apply array auto_execok auto_import auto_load auto_mkindex auto_qualify auto_reset bgerror
    binary break catch cd chan clock close concat continue coroutine dict else elseif encoding eof error eval
    exec exit expr fblocked fconfigure fcopy file fileevent flush for foreach format gets glob global history
    if incr info interp join lappend lassign lindex linsert list llength lmap load lrange lrepeat lreplace
    lreverse lsearch lset lsort namespace open package pid proc puts pwd read regexp regsub rename return
    scan seek set socket source split string subst switch tailcall tell then throw time trace try unknown
    unload unset update uplevel upvar variable vwait while yield yieldto zlib
""")

TK_KEYWORDS = words("""
    bell bind bindtags bitmap button canvas checkbutton clipboard console destroy entry event focus font
    frame grab grid image label labelframe listbox lower menu menubutton message option pack panedwindow
    photo place radiobutton raise scale scrollbar selection send spinbox text tk tk_chooseColor
    tk_chooseDirectory tk_getOpenFile tk_getSaveFile tk_messageBox tk_popup tkwait toplevel ttk::button
    ttk::checkbutton ttk::combobox ttk::entry ttk::frame ttk::label ttk::labelframe ttk::notebook
    ttk::progressbar ttk::radiobutton ttk::scrollbar ttk::separator ttk::style ttk::treeview winfo wm
""")

ITCL_KEYWORDS = words("""
    body class code common component configbody constructor delegate destructor hull inherit itcl local
    method private protected public typemethod variable
""")

LISP_FUNCTIONS = words("""
    * + - / /= 1+ 1- < <= = > >= abs and append apply aref assoc atom block boundp caar cadr car case catch
    cdar cddr cdr ceiling char check-type coerce cond cons consp declaim declare decf defclass defconstant
    defgeneric define-condition defmacro defmethod defpackage defparameter defsetf defstruct deftype defun
    defvar delete destructuring-bind do do* dolist dotimes ecase elt eq eql equal equalp error etypecase
    eval eval-when every export find find-if first flet float floor format funcall function gensym get
    gethash go handler-bind handler-case if ignore-errors in-package incf intern labels lambda last length
    let let* list list* listp load locally loop macrolet make-array make-hash-table make-instance
    make-string mapc mapcan mapcar maphash mapl maplist max member min mod multiple-value-bind
    multiple-value-call multiple-value-list nconc not nreverse nth nthcdr null numberp or position pop
    princ print prin1 progn prog1 prog2 progv provide psetf psetq push quote read remove remove-if
    remove-if-not require rest restart-case return return-from reverse round rplaca rplacd second setf setq
    signal some sort string string= stringp subseq symbol-function symbol-macrolet symbol-value symbolp
    tagbody terpri the third throw truncate typecase unless unwind-protect values vector warn when
    with-open-file with-output-to-string with-slots zerop
    defcustom defface defgroup defsubst interactive save-excursion save-restriction setq-default
    with-current-buffer
""")

LISP_KEYWORDS = words("""
    &allow-other-keys &aux &body &environment &key &optional &rest &whole
""")

ASM_CPU = words("""
    aaa aad aam aas adc add and bound bsf bsr bswap bt btc btr bts call cbw cdq cdqe clc cld cli clts cmc
    cmova cmovae cmovb cmovbe cmovc cmove cmovg cmovge cmovl cmovle cmovna cmovnae cmovnb cmovnbe cmovnc
    cmovne cmovng cmovnge cmovnl cmovnle cmovno cmovnp cmovns cmovnz cmovo cmovp cmovpe cmovpo cmovs cmovz
    cmp cmps cmpsb cmpsd cmpsq cmpsw cmpxchg cmpxchg8b cmpxchg16b cpuid cqo cwd cwde daa das dec div enter
    hlt idiv imul in inc ins insb insd insw int int3 into invd invlpg iret iretd iretq ja jae jb jbe jc jcxz
    je jecxz jg jge jl jle jmp jna jnae jnb jnbe jnc jne jng jnge jnl jnle jno jnp jns jnz jo jp jpe jpo
    jrcxz js jz lahf lar lds lea leave les lfence lfs lgdt lgs lidt lldt lmsw lock lods lodsb lodsd lodsq
    lodsw loop loope loopne loopnz loopz lsl lss ltr mfence mov movbe movs movsb movsd movsq movsw movsx
    movsxd movzx mul neg nop not or out outs outsb outsd outsw pause pop popa popad popcnt popf popfd popfq
    prefetch prefetchnta prefetcht0 prefetcht1 prefetcht2 push pusha pushad pushf pushfd pushfq rcl rcr
    rdmsr rdpmc rdtsc rdtscp rep repe repne repnz repz ret retf retn rol ror rsm sahf sal sar sbb scas scasb
    scasd scasq scasw seta setae setb setbe setc sete setg setge setl setle setna setnae setnb setnbe setnc
    setne setng setnge setnl setnle setno setnp setns setnz seto setp setpe setpo sets setz sfence sgdt shl
    shld shr shrd sidt sldt smsw stc std sti stos stosb stosd stosq stosw str sub swapgs syscall sysenter
    sysexit sysret test ud2 verr verw wait wbinvd wrmsr xadd xchg xlat xlatb xor
""")

ASM_FPU = words("""
    f2xm1 fabs fadd faddp fbld fbstp fchs fclex fcmovb fcmovbe fcmove fcmovnb fcmovnbe fcmovne fcmovnu
    fcmovu fcom fcomi fcomip fcomp fcompp fcos fdecstp fdisi fdiv fdivp fdivr fdivrp feni ffree fiadd ficom
    ficomp fidiv fidivr fild fimul fincstp finit fist fistp fisttp fisub fisubr fld fld1 fldcw fldenv fldl2e
    fldl2t fldlg2 fldln2 fldpi fldz fmul fmulp fnclex fndisi fneni fninit fnop fnsave fnstcw fnstenv fnstsw
    fpatan fprem fprem1 fptan frndint frstor fsave fscale fsetpm fsin fsincos fsqrt fst fstcw fstenv fstp
    fstsw fsub fsubp fsubr fsubrp ftst fucom fucomi fucomip fucomp fucompp fwait fxam fxch fxrstor fxsave
    fxtract fyl2x fyl2xp1
""")

ASM_REGISTERS = words("""
    ah al ax bh bl bp bpl bx ch cl cs cx dh di dil dl ds dx eax ebp ebx ecx edi edx eflags eip es esi esp fs
    gs rax rbp rbx rcx rdi rdx rflags rip rsi rsp si sil sp spl ss
    r8 r9 r10 r11 r12 r13 r14 r15 r8d r9d r10d r11d r12d r13d r14d r15d r8w r9w r10w r11w r12w r13w r14w
    r15w r8b r9b r10b r11b r12b r13b r14b r15b
    cr0 cr2 cr3 cr4 cr8 dr0 dr1 dr2 dr3 dr6 dr7 st st0 st1 st2 st3 st4 st5 st6 st7
    mm0 mm1 mm2 mm3 mm4 mm5 mm6 mm7 xmm0 xmm1 xmm2 xmm3 xmm4 xmm5 xmm6 xmm7 xmm8 xmm9 xmm10 xmm11 xmm12
    xmm13 xmm14 xmm15 ymm0 ymm1 ymm2 ymm3 ymm4 ymm5 ymm6 ymm7 ymm8 ymm9 ymm10 ymm11 ymm12 ymm13 ymm14 ymm15
""")

ASM_DIRECTIVES = words("""
    .186 .286 .286p .287 .386 .386p .387 .486 .486p .586 .586p .686 .686p .8086 .8087 .alpha .break .code
    .const .continue .cref .data .data? .dosseg .else .elseif .endif .endw .err .exit .fardata .fardata?
    .if .k3d .lall .lfcond .list .listall .listif .listmacro .listmacroall .mmx .model .nocref .nolist
    .nolistif .nolistmacro .radix .repeat .sall .seq .sfcond .stack .startup .tfcond .type .until .untilcxz
    .while .xall .xcref .xlist .xmm alias align assume bits byte catstr comm comment db dd default df dosseg
    dq dt dup dw dword echo else elseif end endif endm endp ends endstruc equ even exitm extern externdef
    extrn for forc fword global goto group if ifb ifdef ifdif ifdifi ife ifidn ifidni ifnb ifndef incbin
    include includelib instr invoke irp irpc label local macro mmword name option org oword page popcontext
    proc proto ptr public purge pushcontext qword real4 real8 real10 record repeat rept resb resd resq rest
    resw sbyte sdword section segment sizestr struc struct subtitle substr subttl sword tbyte textequ times
    title typedef union while word xmmword ymmword
""")

ASM_OPERANDS = words("""
    $ @b @f ? abs addr basic byte c carry? cdecl dword far far16 fastcall flat fortran high high32 highword
    imagerel length lengthof low low32 lowword lroffset mask near near16 nothing offset opattr overflow?
    parity? pascal private public qword readonly rel sectionrel seg shl short shr sign? size sizeof stdcall
    syscall this tbyte type use16 use32 use64 uses vararg width word zero?
""")

VHDL_KEYWORDS = words("""
    access after alias all architecture array assert assume attribute begin block body buffer bus case
    component configuration constant context cover default disconnect downto else elsif end entity exit
    fairness file for force function generate generic group guarded if impure in inertial inout is label
    library linkage literal loop map new next null of on open others out package parameter port postponed
    procedure process property protected pure range record register reject release report restrict return
    select sequence severity shared signal strong subtype then to transport type unaffected units until use
    variable vmode vprop vunit wait when while with
""")

VHDL_OPERATORS = words("""
    abs and mod nand nor not or rem rol ror sla sll sra srl xnor xor
""")

VHDL_ATTRIBUTES = words("""
    active ascending base delayed driving driving_value event high image instance_name last_active
    last_event last_value left leftof length low path_name pos pred quiet range reverse_range right rightof
    simple_name stable succ transaction val value
""")

VHDL_FUNCTIONS = words("""
    endfile falling_edge is_x now read readline resize rising_edge rotate_left rotate_right shift_left
    shift_right std_match to_01 to_bit to_bitvector to_integer to_signed to_stdlogicvector to_stdulogic
    to_stdulogicvector to_string to_unsigned to_ux01 to_x01 to_x01z write writeline
""")

VHDL_PACKAGES = words("""
    env fixed_generic_pkg fixed_pkg float_generic_pkg float_pkg ieee math_complex math_real numeric_bit
    numeric_bit_unsigned numeric_std numeric_std_unsigned standard std std_logic_1164 std_logic_arith
    std_logic_misc std_logic_signed std_logic_textio std_logic_unsigned textio vital_primitives
    vital_timing work
""")

VHDL_TYPES = words("""
    bit bit_vector boolean boolean_vector character delay_length file_open_kind file_open_status integer
    integer_vector line natural positive real real_vector severity_level side signed std_logic
    std_logic_vector std_ulogic std_ulogic_vector string text time time_vector unsigned ux01 ux01z width x01
    x01z
""")

JSON_KEYWORDS = "false null true"
JSON_LD = words("""
    @base @container @context @direction @graph @id @import @included @index @json @language @list @nest
    @none @prefix @propagate @protected @reverse @set @type @value @version @vocab
""")

YAML_KEYWORDS = words("""
    false False FALSE n N no No NO null Null NULL off Off OFF on On ON true True TRUE y Y yes Yes YES
""")

# The page languages: HTML elements and attributes, the scripts a page may
# hold (JavaScript, VBScript, Python, PHP) and the document type words.
PAGE_KEYWORDS = [HTML_WORDS, JS_KEYWORDS, VBSCRIPT_KEYWORDS, PYTHON_KEYWORDS, PHP_KEYWORDS, SGML_WORDS]

# ---------------------------------------------------------------------------
# The languages: one file each.

C_FAMILY_COMMENTS = ("/*", "*/", "//")

LANGUAGES = [
    dict(file="text", menu="Text", ext=".txt;.text;.log;.*", lexer="null", id=0, default=True,
         styles=TEXT_STYLES, comments=("", "", "")),
    dict(file="php", menu="PHP", ext=".php;.php3;.php4;.php5;.phtml", lexer="hypertext", id=1, nest=True,
         keywords=PAGE_KEYWORDS, styles=HTML_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="c", menu="C", ext=".c", lexer="cpp", id=2, nest=True,
         keywords=[C_KEYWORDS, C_TYPES + " " + WINDOWS_TYPES, DOXYGEN, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="cpp", menu="C++", ext=".cpp;.cxx;.cc;.c++;.h;.hpp;.hxx;.hh;.h++;.inl;.ipp;.tlh;.tli", lexer="cpp",
         id=3, nest=True,
         keywords=[CPP_KEYWORDS, CPP_TYPES, DOXYGEN, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="java", menu="Java", ext=".java;.jav", lexer="cpp", id=4, nest=True,
         keywords=[JAVA_KEYWORDS, JAVA_TYPES, JAVADOC, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="objc", menu="Objective-C", ext=".m;.mm", lexer="cpp", id=5, nest=True,
         keywords=[OBJC_KEYWORDS, OBJC_TYPES, DOXYGEN, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="cs", menu="C#", ext=".cs;.csx", lexer="cpp", id=6, nest=True,
         keywords=[CSHARP_KEYWORDS, CSHARP_TYPES, CSHARP_DOC, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="rc", menu="Resource Script", ext=".rc;.rc2;.dlg", lexer="cpp", id=7,
         keywords=[RC_KEYWORDS, RC_STYLES_WORDS], styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="javascript", menu="JavaScript", ext=".js;.mjs;.cjs;.jsx", lexer="cpp", id=8, nest=True,
         keywords=[JS_KEYWORDS, JS_GLOBALS, JSDOC, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="pascal", menu="Pascal", ext=".pas;.pp;.dpr;.dpk;.lpr", lexer="pascal", id=11,
         keywords=[PASCAL_KEYWORDS], styles=PASCAL_STYLES, comments=("{", "}", "//")),
    dict(file="batch", menu="Batch", ext=".bat;.cmd;.nt", lexer="batch", id=12,
         keywords=[BATCH_INTERNAL, BATCH_EXTERNAL], styles=BATCH_STYLES, comments=("", "", "rem")),
    dict(file="ini", menu="INI", ext=".ini;.inf;.properties;.cfg;.conf;.url;.editorconfig;.gitconfig",
         lexer="props", id=13, styles=PROPS_STYLES, comments=("", "", ";")),
    dict(file="vbscript", menu="VBScript", ext=".vbs", lexer="vbscript", id=16,
         keywords=[VBSCRIPT_KEYWORDS, VBSCRIPT_FUNCTIONS], styles=VB_STYLES, comments=("", "", "'")),
    dict(file="sql", menu="SQL", ext=".sql;.ddl;.pls;.pks;.pkb", lexer="sql", id=17,
         keywords=[SQL_KEYWORDS, SQL_FUNCTIONS, None, None, SQL_TYPES], styles=SQL_STYLES,
         comments=("/*", "*/", "--")),
    dict(file="vb", menu="Visual Basic", ext=".vb;.bas;.cls;.frm;.ctl", lexer="vb", id=18,
         keywords=[VB_KEYWORDS, VB_FUNCTIONS], styles=VB_STYLES, comments=("", "", "'")),
    dict(file="typescript", menu="TypeScript", ext=".ts;.tsx;.mts;.cts", lexer="cpp", id=19, nest=True,
         keywords=[TS_KEYWORDS, TS_TYPES, JSDOC, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="perl", menu="Perl", ext=".pl;.pm;.pod;.t", lexer="perl", id=21, nest=True,
         keywords=[PERL_KEYWORDS], styles=PERL_STYLES, comments=("", "", "#")),
    dict(file="python", menu="Python", ext=".py;.pyw;.pyi", lexer="python", id=22,
         keywords=[PYTHON_KEYWORDS, PYTHON_BUILTINS], styles=PYTHON_STYLES, comments=("", "", "#")),
    dict(file="lua", menu="Lua", ext=".lua", lexer="lua", id=23,
         keywords=[LUA_KEYWORDS, LUA_BASIC, LUA_LIBRARY, LUA_SYSTEM], styles=LUA_STYLES,
         comments=("--[[", "]]", "--")),
    dict(file="fortran", menu="Fortran", ext=".f90;.f95;.f03;.f08", lexer="fortran", id=25,
         keywords=[FORTRAN_KEYWORDS, FORTRAN_INTRINSICS], styles=FORTRAN_STYLES, comments=("", "", "!")),
    dict(file="fortran77", menu="Fortran 77", ext=".f;.for;.ftn;.f77", lexer="f77", id=25,
         keywords=[FORTRAN_KEYWORDS, FORTRAN_INTRINSICS], styles=FORTRAN_STYLES, comments=("", "", "C")),
    dict(file="shell", menu="Shell Script", ext=".sh;.bash;.ksh;.zsh;.command", lexer="bash", id=26, nest=True,
         keywords=[BASH_KEYWORDS], styles=BASH_STYLES, comments=("", "", "#")),
    dict(file="actionscript", menu="ActionScript", ext=".as", lexer="cpp", id=27, nest=True,
         keywords=[AS_KEYWORDS, AS_TYPES, JSDOC, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="nsis", menu="NSIS", ext=".nsi;.nsh", lexer="nsis", id=28,
         keywords=[NSIS_INSTRUCTIONS, NSIS_VARIABLES], styles=NSIS_STYLES, comments=("/*", "*/", ";")),
    dict(file="tcl", menu="Tcl", ext=".tcl;.tk;.itcl", lexer="tcl", id=29, nest=True,
         keywords=[TCL_KEYWORDS, TK_KEYWORDS, ITCL_KEYWORDS], styles=TCL_STYLES, comments=("", "", "#")),
    dict(file="lisp", menu="Lisp", ext=".lisp;.lsp;.cl;.el;.asd", lexer="lisp", id=30,
         keywords=[LISP_FUNCTIONS, LISP_KEYWORDS], styles=LISP_STYLES, comments=("#|", "|#", ";")),
    dict(file="asm", menu="Assembly", ext=".asm", lexer="asm", id=32,
         keywords=[ASM_CPU, ASM_FPU, ASM_REGISTERS, ASM_DIRECTIVES, ASM_OPERANDS], styles=ASM_STYLES,
         comments=("", "", ";")),
    dict(file="vhdl", menu="VHDL", ext=".vhd;.vhdl", lexer="vhdl", id=38,
         keywords=[VHDL_KEYWORDS, VHDL_OPERATORS, VHDL_ATTRIBUTES, VHDL_FUNCTIONS, VHDL_PACKAGES, VHDL_TYPES],
         styles=VHDL_STYLES, comments=("/*", "*/", "--")),
    # Languages the function list has no patterns for.
    dict(file="html", menu="HTML", ext=".html;.htm;.shtml;.shtm;.xhtml;.xht;.hta;.asp;.aspx;.jsp", lexer="hypertext",
         id=40, keywords=PAGE_KEYWORDS, styles=HTML_STYLES, comments=("<!--", "-->", "")),
    dict(file="xml", menu="XML", ext=(".xml;.xsl;.xslt;.xsd;.svg;.config;.manifest;.resx;.xaml;.csproj;"
                                      ".vbproj;.vcxproj;.filters;.props;.targets;.wxs;.wxi;.nuspec;.plist;.rss;"
                                      ".atom;.xul;.kml"),
         lexer="xml", id=41, keywords=[None, None, None, None, None, SGML_WORDS], styles=XML_STYLES,
         comments=("<!--", "-->", "")),
    dict(file="css", menu="CSS", ext=".css", lexer="css", id=42, nest=True,
         keywords=[CSS1, CSS_PSEUDO_CLASSES, CSS2, CSS3, CSS_PSEUDO_ELEMENTS, CSS_VENDOR_PROPERTIES,
                   CSS_VENDOR_PSEUDO_CLASSES, CSS_VENDOR_PSEUDO_ELEMENTS],
         styles=CSS_STYLES, comments=("/*", "*/", "")),
    dict(file="json", menu="JSON", ext=".json;.jsonc;.json5;.jsonld;.geojson;.webmanifest;.babelrc",
         lexer="json", id=43, nest=True, keywords=[JSON_KEYWORDS, JSON_LD], styles=JSON_STYLES,
         comments=("/*", "*/", "//")),
    dict(file="yaml", menu="YAML", ext=".yaml;.yml", lexer="yaml", id=44, keywords=[YAML_KEYWORDS],
         styles=YAML_STYLES, comments=("", "", "#")),
    dict(file="markdown", menu="Markdown", ext=".md;.markdown;.mdown;.mkd;.mkdn", lexer="markdown", id=45,
         styles=MARKDOWN_STYLES, comments=("<!--", "-->", "")),
    dict(file="powershell", menu="PowerShell", ext=".ps1;.psm1;.psd1", lexer="powershell", id=46, nest=True,
         keywords=[POWERSHELL_KEYWORDS, POWERSHELL_CMDLETS, POWERSHELL_ALIASES, None, None, POWERSHELL_DOC],
         styles=POWERSHELL_STYLES, comments=("<#", "#>", "#")),
    dict(file="makefile", menu="Makefile", ext=".mak;.mk;.make;.mke;.nmake", lexer="makefile", id=47,
         styles=MAKEFILE_STYLES, comments=("", "", "#")),
    dict(file="ruby", menu="Ruby", ext=".rb;.rbw;.rake;.gemspec;.ru", lexer="ruby", id=48,
         keywords=[RUBY_KEYWORDS], styles=RUBY_STYLES, comments=("=begin", "=end", "#")),
    dict(file="rust", menu="Rust", ext=".rs", lexer="rust", id=49, nest=True,
         keywords=[RUST_KEYWORDS, RUST_TYPES, RUST_STD], styles=RUST_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="go", menu="Go", ext=".go", lexer="cpp", id=50, nest=True,
         keywords=[GO_KEYWORDS, GO_PREDECLARED, None, None, None, TASK_MARKERS],
         styles=CPP_STYLES, comments=C_FAMILY_COMMENTS),
    dict(file="diff", menu="Diff", ext=".diff;.patch;.rej;.dif", lexer="diff", id=51, styles=DIFF_STYLES,
         comments=("", "", "")),
]


# ---------------------------------------------------------------------------
# Writing.

def xml_text(s):
    return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def xml_attr(s):
    return xml_text(s).replace('"', "&quot;")


def keyword_element(index, text, indent):
    if text is None:
        return f"{indent}<KEYWORD><!-- set {index}: none --></KEYWORD>"
    lines = textwrap.wrap(xml_text(words(text)), width=100, break_long_words=False, break_on_hyphens=False)
    if len(lines) == 1:
        return f"{indent}<KEYWORD>{lines[0]}</KEYWORD>"
    inner = "\n".join(indent + "    " + line for line in lines)
    return f"{indent}<KEYWORD>\n{inner}\n{indent}</KEYWORD>"


def render(lang):
    out = ['<?xml version="1.0" encoding="UTF-8" ?>', "<PROPERTIES>"]
    out.append(f"    <MENU>{xml_text(lang['menu'])}</MENU>")
    out.append(f"    <EXTENSION>{xml_text(lang['ext'])}</EXTENSION>")
    out.append(f"    <LEXER>{lang['lexer']}</LEXER>")
    out.append(f"    <LEXERID>{lang['id']}</LEXERID>")
    out.append(f"    <AUTONEST>{'Y' if lang.get('nest') else 'N'}</AUTONEST>")
    out.append(f"    <DEFAULT>{'Y' if lang.get('default') else 'N'}</DEFAULT>")
    keywords = lang.get("keywords") or []
    if keywords:
        out.append("    <KEYWORDS>")
        for i, text in enumerate(keywords):
            out.append(keyword_element(i, text, "        "))
        out.append("    </KEYWORDS>")
    out.append("    <COLOURS>")
    names = set()
    numbers = set()
    for number, name, role in lang["styles"]:
        assert name not in names, (lang["file"], name)
        assert number not in numbers, (lang["file"], number)
        names.add(name)
        numbers.add(number)
        fore, back, eol = PALETTE[role]
        out.append(f'        <COLOUR STYLE="{number}" HEXFORE="{fore}" HEXBACK="{back}" '
                   f'EOLFILLED="{"True" if eol else "False"}">{xml_text(name)}</COLOUR>')
    out.append("    </COLOURS>")
    start, end, line = lang["comments"]
    out.append("    <COMMENT>")
    for tag, value in (("GROUPSTART", start), ("GROUPEND", end), ("LINE", line)):
        out.append(f"        <{tag}>{xml_text(value)}</{tag}>" if value else f"        <{tag}/>")
    out.append("    </COMMENT>")
    out.append("</PROPERTIES>")
    return "\r\n".join(out) + "\r\n"


def main():
    claimed = {}
    for lang in LANGUAGES:
        assert len(lang["styles"]) <= 127, lang["file"]
        assert len(lang.get("keywords") or []) <= 9, lang["file"]
        for ext in lang["ext"].lower().split(";"):
            assert ext not in claimed, (ext, lang["file"], claimed.get(ext))
            claimed[ext] = lang["file"]
    for name in os.listdir(HERE):
        if name.endswith(".config"):
            os.remove(os.path.join(HERE, name))
    for lang in LANGUAGES:
        with open(os.path.join(HERE, lang["file"] + ".config"), "w", encoding="utf-8", newline="") as f:
            f.write(render(lang))
    print(f"make-configs: wrote {len(LANGUAGES)} language files")


if __name__ == "__main__":
    main()
