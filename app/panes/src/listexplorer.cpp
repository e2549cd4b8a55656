// listexplorer.cpp - the List Explorer's tables and window.
#include "listexplorer.h"

#include "editorframe.h"
#include "panewnd.h"
#include "scintillawrap.h"

namespace {

struct Row {
    const char* display;
    const char* insert;
};

// HTML 4.01 tags, in alphabetical order; the marker takes the selection.
const Row kTags[] = {
    {"A", "<A HREF><%REPLACE%></A>"},
    {"ABBR", "<ABBR ><%REPLACE%></ABBR>"},
    {"ACRONYM", "<ACRONYM><%REPLACE%></ACRONYM>"},
    {"ADDRESS", "<ADDRESS><%REPLACE%></ADDRESS>"},
    {"APPLET", "<APPLET CODEBASE=\"\" CODE=\"\" NAME=\"\" ARCHIVE=\"\" OBJECT=\"\" WIDTH=\"\" HEIGHT=\"\"><%REPLACE%></APPLET>"},
    {"AREA", "<AREA ALT=\"\" ><%REPLACE%></AREA>"},
    {"B", "<B><%REPLACE%></B>"},
    {"BASE", "<BASE HREF=\"\"><%REPLACE%></BASE>"},
    {"BASEFONT", "<BASEFONT SIZE=\"\" COLOR=\"\" FACE=\"\"><%REPLACE%></BASEFONT>"},
    {"BDO", "<BDO DIR=\"\"><%REPLACE%></BDO>"},
    {"BIG", "<BIG><%REPLACE%></BIG>"},
    {"BLOCKQUOTE", "<BLOCKQUOTE><%REPLACE%></BLOCKQUOTE>"},
    {"BODY", "<BODY><%REPLACE%></BODY>"},
    {"BR", "<BR/>"},
    {"BUTTON", "<BUTTON NAME=\"\" VALUE=\"\" TYPE=\"\"><%REPLACE%></BUTTON>"},
    {"CAPTION", "<CAPTION><%REPLACE%></CAPTION>"},
    {"CENTER", "<CENTER><%REPLACE%></CENTER>"},
    {"CITE", "<CITE><%REPLACE%></CITE>"},
    {"CODE", "<CODE><%REPLACE%></CODE>"},
    {"COL", "<COL><%REPLACE%></COL>"},
    {"COLGROUP", "<COLGROUP><%REPLACE%></COLGROUP>"},
    {"DD", "<DD><%REPLACE%></DD>"},
    {"DEL", "<DEL><%REPLACE%></DEL>"},
    {"DFN", "<DFN><%REPLACE%></DFN>"},
    {"DIR", "<DIR><%REPLACE%></DIR>"},
    {"DIV", "<DIV><%REPLACE%></DIV>"},
    {"DL", "<DL><%REPLACE%></DL>"},
    {"DT", "<DT><%REPLACE%></DT>"},
    {"EM", "<EM><%REPLACE%></EM>"},
    {"FIELDSET", "<FIELDSET><%REPLACE%></FIELDSET>"},
    {"FONT", "<FONT SIZE=\"\" COLOR=\"\" FACE=\"\"><%REPLACE%></FONT>"},
    {"FORM", "<FORM ACTION=\"\"><%REPLACE%></FORM>"},
    {"FRAME", "<FRAME NAME=\"\" SRC=\"\" ><%REPLACE%></FRAME>"},
    {"FRAMESET", "<FRAMESET ROWS=\"\" COLS=\"\"><%REPLACE%></FRAMESET>"},
    {"H1", "<H1><%REPLACE%></H1>"},
    {"H2", "<H2><%REPLACE%></H2>"},
    {"H3", "<H3><%REPLACE%></H3>"},
    {"H4", "<H4><%REPLACE%></H4>"},
    {"H5", "<H5><%REPLACE%></H5>"},
    {"H6", "<H6><%REPLACE%></H6>"},
    {"HEAD", "<HEAD><%REPLACE%></HEAD>"},
    {"HR", "<HR ALIGN=\"\" SIZE=\"\" WIDTH=\"\"/>"},
    {"HTML", "<HTML><%REPLACE%></HTML>"},
    {"I", "<I><%REPLACE%></I>"},
    {"IFRAME", "<IFRAME NAME=\"\" SRC=\"\" WIDTH=\"\" HEIGHT=\"\"><%REPLACE%></IFRAME>"},
    {"IMG", "<IMG SRC=\"\" ALT=\"\"/>"},
    {"INPUT", "<INPUT TYPE=\"\" NAME=\"\" VALUE=\"\"><%REPLACE%></INPUT>"},
    {"INS", "<INS><%REPLACE%></INS>"},
    {"ISINDEX", "<ISINDEX PROMPT=\"\"><%REPLACE%></ISINDEX>"},
    {"KBD", "<KBD><%REPLACE%></KBD>"},
    {"LABEL", "<LABEL><%REPLACE%></LABEL>"},
    {"LEGEND", "<LEGEND><%REPLACE%></LEGEND>"},
    {"LI", "<LI><%REPLACE%></LI>"},
    {"LINK", "<LINK HREF=\"\" ><%REPLACE%></LINK>"},
    {"MAP", "<MAP NAME=\"\" ><%REPLACE%></MAP>"},
    {"MENU", "<MENU TITLE=\"\"><%REPLACE%></MENU>"},
    {"META", "<META CONTENT=\"\"><%REPLACE%></META>"},
    {"NOFRAMES", "<NOFRAMES><%REPLACE%></NOFRAMES>"},
    {"NOSCRIPT", "<NOSCRIPT><%REPLACE%></NOSCRIPT>"},
    {"OBJECT", "<OBJECT WIDTH=\"\" HEIGHT=\"\" NAME=\"\" CODEBASE=\"\"><%REPLACE%></OBJECT>"},
    {"OL", "<OL><%REPLACE%></OL>"},
    {"OPTGROUP", "<OPTGROUP><%REPLACE%></OPTGROUP>"},
    {"OPTION", "<OPTION ><%REPLACE%></OPTION>"},
    {"P", "<P><%REPLACE%></P>"},
    {"PARAM", "<PARAM NAME=\"\"><%REPLACE%></PARAM>"},
    {"PRE", "<PRE><%REPLACE%></PRE>"},
    {"Q", "<Q><%REPLACE%></Q>"},
    {"S", "<S><%REPLACE%></S>"},
    {"SAMP", "<SAMP><%REPLACE%></SAMP>"},
    {"SCRIPT", "<SCRIPT TYPE=\"\" LANGUAGE=\"\" SRC=\"\"><%REPLACE%></SCRIPT>"},
    {"SELECT", "<SELECT NAME=\"\"><%REPLACE%></SELECT>"},
    {"SMALL", "<SMALL><%REPLACE%></SMALL>"},
    {"SPAN", "<SPAN><%REPLACE%></SPAN>"},
    {"STRIKE", "<STRIKE><%REPLACE%></STRIKE>"},
    {"STRONG", "<STRONG><%REPLACE%></STRONG>"},
    {"STYLE", "<STYLE TYPE=\"\"><%REPLACE%></STYLE>"},
    {"SUB", "<SUB><%REPLACE%></SUB>"},
    {"SUP", "<SUP><%REPLACE%></SUP>"},
    {"TABLE", "<TABLE WIDTH=\"\" BORDER=\"\" CELLSPACING=\"\" CELLPADDING=\"\"><%REPLACE%></TABLE>"},
    {"TBODY", "<TBODY><%REPLACE%></TBODY>"},
    {"TD", "<TD WIDTH=\"\" ROWSPAN=\"\" COLSPAN=\"\"><%REPLACE%></TD>"},
    {"TEXTAREA", "<TEXTAREA NAME=\"\" ROWS=\"\" COLS=\"\"><%REPLACE%></TEXTAREA>"},
    {"TFOOT", "<TFOOT><%REPLACE%></TFOOT>"},
    {"TH", "<TH WIDTH=\"\" ROWSPAN=\"\" COLSPAN=\"\"><%REPLACE%></TH>"},
    {"THEAD", "<THEAD><%REPLACE%></THEAD>"},
    {"TITLE", "<TITLE><%REPLACE%></TITLE>"},
    {"TR", "<TR><%REPLACE%></TR>"},
    {"TT", "<TT><%REPLACE%></TT>"},
    {"U", "<U><%REPLACE%></U>"},
    {"UL", "<UL><%REPLACE%></UL>"},
    {"VAR", "<VAR><%REPLACE%></VAR>"},
};

// The character entity references of HTML 4.01, alphabetical ignoring
// case. The preview is the Windows-1252 character, a look-alike, or the
// reference itself where the code page has nothing close.
const Row kEntities[] = {
    {"&aacute\t\t'\341'", "&aacute;"},
    {"&Aacute\t\t'\301'", "&Aacute;"},
    {"&acirc\t\t'\342'", "&acirc;"},
    {"&Acirc\t\t'\302'", "&Acirc;"},
    {"&acute\t\t'\264'", "&acute;"},
    {"&aelig\t\t'\346'", "&aelig;"},
    {"&AElig\t\t'\306'", "&AElig;"},
    {"&agrave\t\t'\340'", "&agrave;"},
    {"&Agrave\t\t'\300'", "&Agrave;"},
    {"&alefsym\t\t'&alefsym;'", "&alefsym;"},
    {"&Alpha\t\t'&Alpha;'", "&Alpha;"},
    {"&alpha\t\t'a'", "&alpha;"},
    {"&amp\t\t'&'", "&amp;"},
    {"&and\t\t'&and;'", "&and;"},
    {"&ang\t\t'&ang;'", "&ang;"},
    {"&aring\t\t'\345'", "&aring;"},
    {"&Aring\t\t'\305'", "&Aring;"},
    {"&asymp\t\t'\230'", "&asymp;"},
    {"&atilde\t\t'\343'", "&atilde;"},
    {"&Atilde\t\t'\303'", "&Atilde;"},
    {"&auml\t\t'\344'", "&auml;"},
    {"&Auml\t\t'\304'", "&Auml;"},
    {"&bdquo\t\t'\204'", "&bdquo;"},
    {"&Beta\t\t'&Beta;'", "&Beta;"},
    {"&beta\t\t'\337'", "&beta;"},
    {"&brvbar\t\t'\246'", "&brvbar;"},
    {"&bull\t\t'\225'", "&bull;"},
    {"&cap\t\t'&cap;'", "&cap;"},
    {"&ccedil\t\t'\347'", "&ccedil;"},
    {"&Ccedil\t\t'\307'", "&Ccedil;"},
    {"&cedil\t\t'\270'", "&cedil;"},
    {"&cent\t\t'\242'", "&cent;"},
    {"&chi\t\t'&chi;'", "&chi;"},
    {"&Chi\t\t'&Chi;'", "&Chi;"},
    {"&circ\t\t'\210'", "&circ;"},
    {"&clubs\t\t'&clubs;'", "&clubs;"},
    {"&cong\t\t'&cong;'", "&cong;"},
    {"&copy\t\t'\251'", "&copy;"},
    {"&crarr\t\t'&crarr;'", "&crarr;"},
    {"&cup\t\t'&cup;'", "&cup;"},
    {"&curren\t\t'\244'", "&curren;"},
    {"&dagger\t\t'\206'", "&dagger;"},
    {"&Dagger\t\t'\207'", "&Dagger;"},
    {"&darr\t\t'&darr;'", "&darr;"},
    {"&dArr\t\t'&dArr;'", "&dArr;"},
    {"&deg\t\t'\260'", "&deg;"},
    {"&delta\t\t'&delta;'", "&delta;"},
    {"&Delta\t\t'&Delta;'", "&Delta;"},
    {"&diams\t\t'&diams;'", "&diams;"},
    {"&divide\t\t'\367'", "&divide;"},
    {"&eacute\t\t'\351'", "&eacute;"},
    {"&Eacute\t\t'\311'", "&Eacute;"},
    {"&ecirc\t\t'\352'", "&ecirc;"},
    {"&Ecirc\t\t'\312'", "&Ecirc;"},
    {"&egrave\t\t'\350'", "&egrave;"},
    {"&Egrave\t\t'\310'", "&Egrave;"},
    {"&empty\t\t'\330'", "&empty;"},
    {"&emsp\t\t'&emsp;'", "&emsp;"},
    {"&ensp\t\t'&ensp;'", "&ensp;"},
    {"&epsilon\t\t'&epsilon;'", "&epsilon;"},
    {"&Epsilon\t\t'&Epsilon;'", "&Epsilon;"},
    {"&equiv\t\t'&equiv;'", "&equiv;"},
    {"&eta\t\t'&eta;'", "&eta;"},
    {"&Eta\t\t'&Eta;'", "&Eta;"},
    {"&eth\t\t'\360'", "&eth;"},
    {"&ETH\t\t'\320'", "&ETH;"},
    {"&euml\t\t'\353'", "&euml;"},
    {"&Euml\t\t'\313'", "&Euml;"},
    {"&euro\t\t'\200'", "&euro;"},
    {"&exist\t\t'&exist;'", "&exist;"},
    {"&fnof\t\t'\203'", "&fnof;"},
    {"&forall\t\t'&forall;'", "&forall;"},
    {"&frac12\t\t'\275'", "&frac12;"},
    {"&frac14\t\t'\274'", "&frac14;"},
    {"&frac34\t\t'\276'", "&frac34;"},
    {"&frasl\t\t'/'", "&frasl;"},
    {"&gamma\t\t'&gamma;'", "&gamma;"},
    {"&Gamma\t\t'&Gamma;'", "&Gamma;"},
    {"&ge\t\t'&ge;'", "&ge;"},
    {"&gt\t\t'>'", "&gt;"},
    {"&harr\t\t'&harr;'", "&harr;"},
    {"&hArr\t\t'&hArr;'", "&hArr;"},
    {"&hearts\t\t'&hearts;'", "&hearts;"},
    {"&hellip\t\t'\205'", "&hellip;"},
    {"&iacute\t\t'\355'", "&iacute;"},
    {"&Iacute\t\t'\315'", "&Iacute;"},
    {"&icirc\t\t'\356'", "&icirc;"},
    {"&Icirc\t\t'\316'", "&Icirc;"},
    {"&iexcl\t\t'\241'", "&iexcl;"},
    {"&igrave\t\t'\354'", "&igrave;"},
    {"&Igrave\t\t'\314'", "&Igrave;"},
    {"&image\t\t'I'", "&image;"},
    {"&infin\t\t'&infin;'", "&infin;"},
    {"&int\t\t'&int;'", "&int;"},
    {"&iota\t\t'&iota;'", "&iota;"},
    {"&Iota\t\t'&Iota;'", "&Iota;"},
    {"&iquest\t\t'\277'", "&iquest;"},
    {"&isin\t\t'&isin;'", "&isin;"},
    {"&iuml\t\t'\357'", "&iuml;"},
    {"&Iuml\t\t'\317'", "&Iuml;"},
    {"&kappa\t\t'&kappa;'", "&kappa;"},
    {"&Kappa\t\t'&Kappa;'", "&Kappa;"},
    {"&lambda\t\t'&lambda;'", "&lambda;"},
    {"&Lambda\t\t'&Lambda;'", "&Lambda;"},
    {"&lang\t\t'<'", "&lang;"},
    {"&laquo\t\t'\253'", "&laquo;"},
    {"&larr\t\t'&larr;'", "&larr;"},
    {"&lArr\t\t'&lArr;'", "&lArr;"},
    {"&lceil\t\t'&lceil;'", "&lceil;"},
    {"&ldquo\t\t'\223'", "&ldquo;"},
    {"&le\t\t'&le;'", "&le;"},
    {"&lfloor\t\t'&lfloor;'", "&lfloor;"},
    {"&lowast\t\t'*'", "&lowast;"},
    {"&loz\t\t'&loz;'", "&loz;"},
    {"&lrm\t\t'&lrm;'", "&lrm;"},
    {"&lsaquo\t\t'{'", "&lsaquo;"},
    {"&lsquo\t\t'\221'", "&lsquo;"},
    {"&lt\t\t'<'", "&lt;"},
    {"&macr\t\t'\257'", "&macr;"},
    {"&mdash\t\t'\227'", "&mdash;"},
    {"&micro\t\t'\265'", "&micro;"},
    {"&middot\t\t'\267'", "&middot;"},
    {"&minus\t\t'-'", "&minus;"},
    {"&Mu\t\t'&Mu;'", "&Mu;"},
    {"&mu\t\t'\265'", "&mu;"},
    {"&nabla\t\t'&nabla;'", "&nabla;"},
    {"&nbsp\t\t' '", "&nbsp;"},
    {"&ndash\t\t'\226'", "&ndash;"},
    {"&ne\t\t'&ne;'", "&ne;"},
    {"&ni\t\t'&ni;'", "&ni;"},
    {"&not\t\t'\254'", "&not;"},
    {"&notin\t\t'&notin;'", "&notin;"},
    {"&nsub\t\t'&nsub;'", "&nsub;"},
    {"&ntilde\t\t'\361'", "&ntilde;"},
    {"&Ntilde\t\t'\321'", "&Ntilde;"},
    {"&nu\t\t'&nu;'", "&nu;"},
    {"&Nu\t\t'&Nu;'", "&Nu;"},
    {"&oacute\t\t'\363'", "&oacute;"},
    {"&Oacute\t\t'\323'", "&Oacute;"},
    {"&ocirc\t\t'\364'", "&ocirc;"},
    {"&Ocirc\t\t'\324'", "&Ocirc;"},
    {"&oelig\t\t'\234'", "&oelig;"},
    {"&OElig\t\t'\214'", "&OElig;"},
    {"&ograve\t\t'\362'", "&ograve;"},
    {"&Ograve\t\t'\322'", "&Ograve;"},
    {"&oline\t\t'&oline;'", "&oline;"},
    {"&omega\t\t'&omega;'", "&omega;"},
    {"&Omega\t\t'&Omega;'", "&Omega;"},
    {"&omicron\t\t'&omicron;'", "&omicron;"},
    {"&Omicron\t\t'&Omicron;'", "&Omicron;"},
    {"&oplus\t\t'&oplus;'", "&oplus;"},
    {"&or\t\t'&or;'", "&or;"},
    {"&ordf\t\t'\252'", "&ordf;"},
    {"&ordm\t\t'\272'", "&ordm;"},
    {"&oslash\t\t'\370'", "&oslash;"},
    {"&Oslash\t\t'\330'", "&Oslash;"},
    {"&otilde\t\t'\365'", "&otilde;"},
    {"&Otilde\t\t'\325'", "&Otilde;"},
    {"&otimes\t\t'&otimes;'", "&otimes;"},
    {"&ouml\t\t'\366'", "&ouml;"},
    {"&Ouml\t\t'\326'", "&Ouml;"},
    {"&para\t\t'\266'", "&para;"},
    {"&part\t\t'&part;'", "&part;"},
    {"&permil\t\t'\211'", "&permil;"},
    {"&perp\t\t'&perp;'", "&perp;"},
    {"&phi\t\t'&phi;'", "&phi;"},
    {"&Phi\t\t'&Phi;'", "&Phi;"},
    {"&pi\t\t'&pi;'", "&pi;"},
    {"&Pi\t\t'&Pi;'", "&Pi;"},
    {"&piv\t\t'&piv;'", "&piv;"},
    {"&plusmn\t\t'\261'", "&plusmn;"},
    {"&pound\t\t'\243'", "&pound;"},
    {"&prime\t\t'''", "&prime;"},
    {"&Prime\t\t'&Prime;'", "&Prime;"},
    {"&prod\t\t'&prod;'", "&prod;"},
    {"&prop\t\t'&prop;'", "&prop;"},
    {"&psi\t\t'&psi;'", "&psi;"},
    {"&Psi\t\t'&Psi;'", "&Psi;"},
    {"&quot\t\t'\042'", "&quot;"},
    {"&radic\t\t'v'", "&radic;"},
    {"&rang\t\t'>'", "&rang;"},
    {"&raquo\t\t'\273'", "&raquo;"},
    {"&rarr\t\t'&rarr;'", "&rarr;"},
    {"&rArr\t\t'&rArr;'", "&rArr;"},
    {"&rceil\t\t'&rceil;'", "&rceil;"},
    {"&rdquo\t\t'\224'", "&rdquo;"},
    {"&real\t\t'R'", "&real;"},
    {"&reg\t\t'\256'", "&reg;"},
    {"&rfloor\t\t'&rfloor;'", "&rfloor;"},
    {"&rho\t\t'&rho;'", "&rho;"},
    {"&Rho\t\t'&Rho;'", "&Rho;"},
    {"&rlm\t\t'&rlm;'", "&rlm;"},
    {"&rsaquo\t\t'}'", "&rsaquo;"},
    {"&rsquo\t\t'\222'", "&rsquo;"},
    {"&sbquo\t\t'\202'", "&sbquo;"},
    {"&scaron\t\t'\232'", "&scaron;"},
    {"&Scaron\t\t'\212'", "&Scaron;"},
    {"&sdot\t\t'\267'", "&sdot;"},
    {"&sect\t\t'\247'", "&sect;"},
    {"&shy\t\t'\255'", "&shy;"},
    {"&sigma\t\t'&sigma;'", "&sigma;"},
    {"&Sigma\t\t'&Sigma;'", "&Sigma;"},
    {"&sigmaf\t\t'&sigmaf;'", "&sigmaf;"},
    {"&sim\t\t'~'", "&sim;"},
    {"&spades\t\t'&spades;'", "&spades;"},
    {"&sub\t\t'&sub;'", "&sub;"},
    {"&sube\t\t'&sube;'", "&sube;"},
    {"&sum\t\t'&sum;'", "&sum;"},
    {"&sup\t\t'&sup;'", "&sup;"},
    {"&sup1\t\t'\271'", "&sup1;"},
    {"&sup2\t\t'\262'", "&sup2;"},
    {"&sup3\t\t'\263'", "&sup3;"},
    {"&supe\t\t'&supe;'", "&supe;"},
    {"&szlig\t\t'\337'", "&szlig;"},
    {"&tau\t\t'&tau;'", "&tau;"},
    {"&Tau\t\t'&Tau;'", "&Tau;"},
    {"&there4\t\t'&there4;'", "&there4;"},
    {"&theta\t\t'&theta;'", "&theta;"},
    {"&Theta\t\t'&Theta;'", "&Theta;"},
    {"&thetasym\t\t'&thetasym;'", "&thetasym;"},
    {"&thinsp\t\t'&thinsp;'", "&thinsp;"},
    {"&thorn\t\t'\376'", "&thorn;"},
    {"&THORN\t\t'\336'", "&THORN;"},
    {"&tilde\t\t'\230'", "&tilde;"},
    {"&times\t\t'\327'", "&times;"},
    {"&trade\t\t'\231'", "&trade;"},
    {"&uacute\t\t'\372'", "&uacute;"},
    {"&Uacute\t\t'\332'", "&Uacute;"},
    {"&uarr\t\t'&uarr;'", "&uarr;"},
    {"&uArr\t\t'&uArr;'", "&uArr;"},
    {"&ucirc\t\t'\373'", "&ucirc;"},
    {"&Ucirc\t\t'\333'", "&Ucirc;"},
    {"&ugrave\t\t'\371'", "&ugrave;"},
    {"&Ugrave\t\t'\331'", "&Ugrave;"},
    {"&uml\t\t'\250'", "&uml;"},
    {"&upsih\t\t'&upsih;'", "&upsih;"},
    {"&upsilon\t\t'&upsilon;'", "&upsilon;"},
    {"&Upsilon\t\t'&Upsilon;'", "&Upsilon;"},
    {"&uuml\t\t'\374'", "&uuml;"},
    {"&Uuml\t\t'\334'", "&Uuml;"},
    {"&weierp\t\t'P'", "&weierp;"},
    {"&xi\t\t'&xi;'", "&xi;"},
    {"&Xi\t\t'&Xi;'", "&Xi;"},
    {"&yacute\t\t'\375'", "&yacute;"},
    {"&Yacute\t\t'\335'", "&Yacute;"},
    {"&yen\t\t'\245'", "&yen;"},
    {"&yuml\t\t'\377'", "&yuml;"},
    {"&Yuml\t\t'\237'", "&Yuml;"},
    {"&zeta\t\t'&zeta;'", "&zeta;"},
    {"&Zeta\t\t'&Zeta;'", "&Zeta;"},
    {"&zwj\t\t'&zwj;'", "&zwj;"},
    {"&zwnj\t\t'&zwnj;'", "&zwnj;"},
};

// Codes 33 to 255 without those Windows-1252 leaves undefined or blank.
bool IsListedCode(int nCode)
{
    if (nCode < 33 || nCode > 255)
        return false;
    switch (nCode) {
    case 127:
    case 129:
    case 130:
    case 141:
    case 143:
    case 144:
    case 157:
    case 160: return false;
    default: return true;
    }
}

// Windows-1252 bytes as the UTF-8 the program speaks.
std::string FromWindows1252(const std::string& text)
{
    if (text.empty())
        return text;
    int nWide = ::MultiByteToWideChar(1252, 0, text.data(), (int)text.size(), NULL, 0);
    std::wstring wide((size_t)nWide, L'\0');
    ::MultiByteToWideChar(1252, 0, text.data(), (int)text.size(), &wide[0], nWide);
    int nUtf8 = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), nWide, NULL, 0, NULL, NULL);
    std::string utf8((size_t)nUtf8, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), nWide, &utf8[0], nUtf8, NULL, NULL);
    return utf8;
}

template <size_t N>
std::vector<ListExplorerRow> RowsOf(const Row (&table)[N])
{
    std::vector<ListExplorerRow> rows;
    rows.reserve(N);
    for (const Row& row : table)
        rows.push_back({FromWindows1252(row.display), FromWindows1252(row.insert)});
    return rows;
}

} // namespace

LPCSTR GetListCategoryName(int nCategory)
{
    switch (nCategory) {
    case LIST_HTML_TAGS: return "HTML Tags";
    case LIST_HTML_ENTITIES: return "HTML Entities";
    case LIST_ASCII_CODES: return "Ascii Codes";
    default: return "";
    }
}

std::vector<ListExplorerRow> GetListExplorerRows(int nCategory)
{
    switch (nCategory) {
    case LIST_HTML_TAGS: return RowsOf(kTags);
    case LIST_HTML_ENTITIES: return RowsOf(kEntities);
    case LIST_ASCII_CODES: {
        std::vector<ListExplorerRow> rows;
        for (int nCode = 33; nCode <= 255; ++nCode) {
            if (!IsListedCode(nCode))
                continue;
            std::string ch = FromWindows1252(std::string(1, (char)nCode));
            rows.push_back({std::to_string(nCode) + "\t" + ch, ch});
        }
        return rows;
    }
    default: return {};
    }
}

// ===========================================================================
// CSolutionBarList

IMPLEMENT_DYNAMIC(CSolutionBarList, CWnd)

BEGIN_MESSAGE_MAP(CSolutionBarList, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_CBN_SELCHANGE(IDC_CATEGORY, OnCategoryChange)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CSolutionBarList::CEntryList, CListBox)
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CSolutionBarList::CSolutionBarList() = default;

CSolutionBarList::~CSolutionBarList() = default;

BOOL CSolutionBarList::Create(CWnd* pParent, UINT nID)
{
    return CreatePaneChild(*this, pParent, nID, "List Explorer", COLOR_BTNFACE);
}

int CSolutionBarList::OnCreate(LPCREATESTRUCTA lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_list.Create(0x50200081, CRect(0, 24, 100, 100), this, IDC_ENTRY_LIST) ||
        !m_category.Create(0x52200043, CRect(0, 0, 100, 300), this, IDC_CATEGORY))
        return -1;
    HFONT hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    m_list.SendMessage(WM_SETFONT, (WPARAM)hFont, FALSE);
    m_category.SendMessage(WM_SETFONT, (WPARAM)hFont, FALSE);
    for (int i = 0; i < LIST_CATEGORY_COUNT; ++i) {
        int nIndex = m_category.AddString(GetListCategoryName(i));
        m_category.SetItemData(nIndex, (DWORD_PTR)i);
    }
    SelectCategory(LIST_HTML_TAGS);
    return 0;
}

void CSolutionBarList::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_category.GetSafeHwnd() != NULL)
        m_category.MoveWindow(0, 0, cx, 24 + 200);
    if (m_list.GetSafeHwnd() != NULL)
        m_list.MoveWindow(0, 24, cx, cy > 24 ? cy - 24 : 0);
}

void CSolutionBarList::SelectCategory(int nCategory)
{
    for (int i = 0; i < m_category.GetCount(); ++i)
        if ((int)m_category.GetItemData(i) == nCategory)
            m_category.SetCurSel(i);
    Fill(nCategory);
}

void CSolutionBarList::OnCategoryChange()
{
    int nSel = m_category.GetCurSel();
    if (nSel >= 0)
        Fill((int)m_category.GetItemData(nSel));
}

void CSolutionBarList::Fill(int nCategory)
{
    m_rows = GetListExplorerRows(nCategory);
    m_list.SetRedraw(FALSE);
    m_list.ResetContent();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        int nIndex = m_list.AddString(m_rows[i].display.c_str());
        m_list.SetItemData(nIndex, (DWORD_PTR)i);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
}

BOOL CSolutionBarList::InsertSelected()
{
    int nSel = m_list.GetCurSel();
    if (nSel < 0)
        return FALSE;
    size_t nRow = (size_t)m_list.GetItemData(nSel);
    IEditorFrame* pFrame = GetEditorFrame();
    CMFCScintilla* pEditor = pFrame != NULL ? pFrame->GetCurrentEditor() : NULL;
    if (pEditor == NULL || nRow >= m_rows.size())
        return FALSE;
    pEditor->InsertTemplateText(m_rows[nRow].insert.c_str());
    return TRUE;
}

void CSolutionBarList::CEntryList::OnLButtonUp(UINT nFlags, CPoint point)
{
    CListBox::OnLButtonUp(nFlags, point);
    BOOL bOutside = TRUE;
    ItemFromPoint(point, bOutside);
    if (!bOutside)
        if (CSolutionBarList* pOwner = dynamic_cast<CSolutionBarList*>(GetParent()))
            pOwner->InsertSelected();
}

void CSolutionBarList::CEntryList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        if (CSolutionBarList* pOwner = dynamic_cast<CSolutionBarList*>(GetParent()))
            pOwner->InsertSelected();
        return;
    }
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

UINT CSolutionBarList::CEntryList::OnGetDlgCode()
{
    return CListBox::OnGetDlgCode() | DLGC_WANTALLKEYS;
}
