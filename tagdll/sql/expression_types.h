// The Access type of an expression from the types of its operands: literals, operators and
// the predicates (names, calls and subqueries are typed where they are bound).
//
//   +      Text + Text is Text (joined, Null if either is Null); a Date and a number give a
//          Date; numbers give the wider number (WiderNumeric); a Variant operand, a Variant
//   -      a Date less a Date is a Double, a Date less a number a Date; else as +
//   *      the wider number
//   /  ^   Double
//   \ Mod  Integer when both are Byte, Integer or Boolean, else Long
//   &      Text, Null only when both operands are Null
//   comparisons, And, Or, Xor, Not, Like, Between, In, Is Null, Exists: Boolean
//   -x     the operand's number type (a Boolean negates to an Integer)
//
// A literal number is an Integer when it fits 16 bits, a Long when it fits 32 bits, else a
// Double; "1.5" and "1E3" are Doubles.
#pragma once

#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

// Sets expr.type; requires its operands to be typed already.
void AssignType(Expr& expr);

// The type of a column reference to a column of that kind.
ExprType ColumnType(const OutputColumn& column);

// Whether SQLite compares the value without regard to case by itself (a NOCASE column, or
// an explicit COLLATE NOCASE).
bool ComparesWithoutCase(const ExprType& type);

}  // namespace quellor::tagdll::sql
