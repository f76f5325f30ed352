// What vorlane-jetread writes to its standard output, read back by the
// engine. Every text goes length-prefixed, so any byte may appear in a
// value and NULL stays apart from an empty text:
//
//   "VJR1\n"                     once, first
//   'H' <count> ':' <text>...    the field names, once
//   'R' <value>...               one row, <count> values
//   'E' <cause> <text>           failure (cause: a jetread::Failure letter)
//   'Z'                          the end of a complete answer
//   <text>  = 'S' <length> ':' <bytes>
//   <value> = <text> | 'N'       ('N' is NULL)
#pragma once

namespace jetwire {
inline constexpr char magic[] = "VJR1\n";
}
