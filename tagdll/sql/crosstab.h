// Crosstab queries: TRANSFORM value SELECT rows ... GROUP BY rows PIVOT pivot [IN (...)].
//
// The result has the select's columns (the row headings), then one column per heading of the
// pivot, in the IN list's order, else every value the pivot takes in the rows that WHERE
// keeps, sorted (text without regard to case), a Null pivot's column named "<>". Each
// heading's column is the value computed over the rows of its heading alone: every aggregate
// in it carries FILTER (WHERE pivot = heading); a cell without such rows is Null, a Count's
// too. Rows come sorted by the row headings unless the query sorts them itself.
#pragma once

#include <string>

#include "base/status.h"
#include "tagdll/sql/catalog.h"
#include "tagdll/sql/emitter.h"
#include "tagdll/sql/tree.h"

namespace quellor::tagdll::sql {

// Sets crosstab.resolved and crosstab.columns: the fixed headings, or the headings read from
// the data through `catalog`, with the common table expressions of `with` (empty, or "WITH
// ... " ending in a blank) in front of the query that reads them. Refuses more than 255.
Status ResolveHeadings(Crosstab& crosstab, Emitter& emitter, const std::string& with,
                       Catalog& catalog);

std::string EmitCrosstab(const Crosstab& crosstab, Emitter& emitter);

}  // namespace quellor::tagdll::sql
