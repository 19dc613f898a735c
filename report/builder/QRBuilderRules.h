// The rules of the expression builder that need no window: how a typed expression loses its
// line breaks, how a function's arguments become a call, which functions a group lists, how a
// library description splits into syntax and explanation, and what validation reports.
#pragma once

#include <utility>
#include <vector>

#include "framework/rtl/System.h"
#include "report/expressions/QREvResult.h"

// Each line break (CR LF, CR or LF) becomes one space: an expression typed over two lines reads
// as one.
String RemoveLineBreaks(const String& text);

// The label over argument number (from 1) of the given signature letter: N numeric, S text,
// B logical, V any value; another letter has no label.
String ArgumentLabel(wchar_t letter, int number);
// The arguments in order, each after a "," once something has been collected: an empty first
// argument is left out, an empty last one leaves its comma.
String JoinArguments(const std::vector<String>& arguments);
// The argument letters of a signature (group digit, then a letter per argument); none for a
// signature of fewer than 2 characters, whose function is inserted by name alone.
String ArgumentLetters(const String& signature);
// What is inserted for a function: its name alone without argument letters, else name(args).
String FunctionCallText(const String& name, const String& signature, const std::vector<String>& arguments);

// Group 0 ("All") takes every function; another group those whose signature starts with its digit.
bool InFunctionGroup(const String& signature, int group);
// A library description split at its first "|": the syntax, then the explanation.
std::pair<String, String> SplitDescription(const String& description);

// The message validation shows for a result: an error names the evaluator's message, any other
// result (an empty text included) shows its value.
String ValidationMessage(const TQREvResultRecord& result);
