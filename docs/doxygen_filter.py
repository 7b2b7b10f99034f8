#!/usr/bin/env python3
"""Doxygen input filter for QvKit's headers (see docs/Doxyfile).

The headers are commented in the house style with "//". This filter hands Doxygen the
same text with the comments that document something marked as documentation:
- the header's opening comment becomes the file's description;
- a comment block directly above a declaration becomes that declaration's "///";
- a comment after a member or enumerator ("int X; // ...") becomes its "///<";
- a property's getter and setter declared next to each other ("X()" and "SetX(...)",
  or the READ and WRITE functions of one Q_PROPERTY) share the comment above the pair;
- protected sections are handed over as private: the reference describes the public
  interface, and the handlers a subclass overrides are described in the source.
Comment blocks followed by a blank line, a preprocessor line other than #define or a Qt
macro stay plain comments. The line count is kept, so warnings name the real lines.
"""
import re
import sys

LINE_COMMENT = re.compile(r"^(\s*)//(?!/)\s?(.*)$")
TRAILING = re.compile(r"^(\s*[^\s/}].*?[;,}])\s*//(?![/<])\s?(.*)$")
NOT_DOCUMENTED_TARGET = re.compile(r"^\s*($|#(?!\s*define\b)|Q_(?!INVOKABLE)[A-Z_]+\b|//|\}|public:|protected:|private:)")


PROTECTED = re.compile(r"^(\s*)protected(\s*(?:Q_SLOTS|slots)?\s*:.*)$")
FUNCTION_NAME = re.compile(r"^\s*(?:[\w:<>,*&]+\s+)*?(?:[\w:<>*&]+\s+)(\w+)\(")


def declared_function(line):
    match = FUNCTION_NAME.match(line)
    return match.group(1) if match else None


PROPERTY = re.compile(r"Q_PROPERTY\(.*\bREAD\s+(\w+)(?:.*\bWRITE\s+(\w+))?")


def property_pairs(lines):
    """Getter and setter names that a Q_PROPERTY line binds together."""
    pairs = set()
    for line in lines:
        match = PROPERTY.search(line)
        if match and match.group(2):
            pairs.add(frozenset((match.group(1), match.group(2))))
    return pairs


def share_pair_docs(lines, out):
    """The second line of a getter/setter pair gets the first line's description. A pair
    is "X" and "SetX", or the READ and WRITE functions of one Q_PROPERTY."""
    pairs = property_pairs(lines)
    for i in range(2, len(lines)):
        if not out[i - 2].lstrip().startswith("///") or "//" in lines[i] or "//" in lines[i - 1]:
            continue
        first, second = declared_function(lines[i - 1]), declared_function(lines[i])
        if first and second and (second == "Set" + first or first == "Set" + second
                                 or frozenset((first, second)) in pairs):
            out[i] = f"{lines[i].rstrip()} ///< \\copydoc {first}\n"


def filter_lines(lines):
    out = list(lines)
    seen_code = False
    file_doc_done = False
    i = 0
    while i < len(lines):
        match = LINE_COMMENT.match(lines[i])
        protected = PROTECTED.match(lines[i])
        if protected:
            out[i] = f"{protected.group(1)}private{protected.group(2)}\n"
            i += 1
            continue
        if not match:
            stripped = lines[i].strip()
            if stripped and not stripped.startswith("#"):
                seen_code = True
            trailing = TRAILING.match(lines[i])
            if trailing and trailing.group(1).count('"') % 2 == 0:
                out[i] = f"{trailing.group(1)} ///< {trailing.group(2)}\n"
            i += 1
            continue
        start = i
        while i < len(lines) and LINE_COMMENT.match(lines[i]):
            i += 1
        following = lines[i] if i < len(lines) else ""
        if not seen_code and not file_doc_done:
            file_doc_done = True
            _mark(out, lines, start, i, suffix=" \\file")
        elif not NOT_DOCUMENTED_TARGET.match(following):
            _mark(out, lines, start, i)
    share_pair_docs(lines, out)
    return out


def _mark(out, lines, start, end, suffix=""):
    for k in range(start, end):
        indent, text = LINE_COMMENT.match(lines[k]).groups()
        extra = suffix if k == end - 1 else ""
        out[k] = f"{indent}/// {text}{extra}\n"


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.readlines()
    sys.stdout.write("".join(filter_lines(lines)))


if __name__ == "__main__":
    main()
