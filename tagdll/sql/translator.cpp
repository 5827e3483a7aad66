#include "tagdll/sql/translator.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "base/ascii.h"
#include "tagdll/sql/binder.h"
#include "tagdll/sql/crosstab.h"
#include "tagdll/sql/emitter.h"
#include "tagdll/sql/parser.h"
#include "tagdll/sql/refusal.h"

namespace quellor::tagdll::sql {
namespace {

// A saved query made ready to be read by others: its bound tree (Access) or its text (SQLite).
struct CompiledQuery {
  SavedQueryDefinition definition;
  Statement statement;
  std::vector<std::string> parameters;
  std::vector<std::string> dependencies;  // upper-case names, in order of first use
  std::vector<OutputColumn> columns;
  bool data_dependent = false;
};

std::vector<std::string> ParameterNames(const std::vector<ParameterDecl>& parameters) {
  std::vector<std::string> names;
  for (const ParameterDecl& parameter : parameters) names.push_back(parameter.name);
  return names;
}

void AddName(std::vector<std::string>& names, const std::string& name) {
  const bool known = std::any_of(names.begin(), names.end(),
                                 [&](const std::string& n) { return EqualsIgnoreCase(n, name); });
  if (!known) names.push_back(name);
}

Status InQuery(const std::string& name, const Status& status) {
  return Status(status.code(), "in query [" + name + "]: " + status.message());
}

class Translator final : public SourceResolver {
 public:
  explicit Translator(Catalog& catalog) : catalog_(catalog) {}

  Result<Translation> Run(std::string_view access_sql, TextOrigin origin, std::string_view name);
  Result<std::optional<NamedSource>> Resolve(std::string_view name) override;

 private:
  Result<const CompiledQuery*> Compile(const SavedQueryDefinition& definition);
  Status CompileAccess(CompiledQuery& query);
  // Binds a statement, collecting the saved queries it reads into `dependencies`.
  Result<std::vector<ParameterDecl>> Bind(Statement& statement, const BindOptions& options,
                                          std::vector<std::string>& dependencies);
  // Every saved query reachable from `roots`, each before those that read it.
  std::vector<const CompiledQuery*> InDependencyOrder(const std::vector<std::string>& roots) const;
  void AddParameters(const std::vector<std::string>& roots, std::vector<std::string>& names) const;
  std::string With(const std::vector<const CompiledQuery*>& queries, Emitter& emitter) const;

  Catalog& catalog_;
  std::map<std::string, std::unique_ptr<CompiledQuery>> compiled_;  // by upper-case name
  std::vector<std::string> in_progress_;                            // the chain being compiled
  std::vector<std::vector<std::string>*> dependency_sinks_;
};

Result<std::optional<NamedSource>> Translator::Resolve(std::string_view name) {
  Result<std::optional<TableInfo>> table = catalog_.FindTable(name);
  if (!table.ok()) return table.status();
  if (table->has_value()) {
    TableInfo& info = **table;
    return std::optional<NamedSource>(NamedSource{BoundSource::Kind::kTable, info.name,
                                                  std::move(info.columns), info.has_rowid,
                                                  std::move(info.primary_key)});
  }
  Result<std::optional<SavedQueryDefinition>> definition = catalog_.FindSavedQuery(name);
  if (!definition.ok()) return definition.status();
  if (!definition->has_value()) return std::optional<NamedSource>();
  const std::string key = ToUpperAscii((*definition)->name);
  if (!dependency_sinks_.empty()) AddName(*dependency_sinks_.back(), key);
  Result<const CompiledQuery*> compiled = Compile(**definition);
  if (!compiled.ok()) return compiled.status();
  NamedSource source;
  source.kind = BoundSource::Kind::kSavedQuery;
  source.sql_name = (*compiled)->definition.name;
  source.columns = (*compiled)->columns;
  return std::optional<NamedSource>(std::move(source));
}

Result<const CompiledQuery*> Translator::Compile(const SavedQueryDefinition& definition) {
  const std::string key = ToUpperAscii(definition.name);
  if (const auto done = compiled_.find(key); done != compiled_.end()) return done->second.get();
  if (std::find(in_progress_.begin(), in_progress_.end(), key) != in_progress_.end()) {
    return Status::InvalidArgument("the saved query [" + definition.name +
                                   "] reads from itself through the queries it reads");
  }
  auto query = std::make_unique<CompiledQuery>();
  query->definition = definition;
  if (definition.sql.has_value()) {
    Result<std::vector<OutputColumn>> columns =
        catalog_.DescribeSql(std::string(StripStatementEnd(*definition.sql)));
    if (!columns.ok()) {
      return Status::InvalidArgument("the SQLite SQL of query [" + definition.name +
                                     "] does not prepare: " + columns.status().message());
    }
    query->columns = std::move(columns).value();
  } else {
    in_progress_.push_back(key);
    const Status status = CompileAccess(*query);
    in_progress_.pop_back();
    if (!status.ok()) return InQuery(definition.name, status);
  }
  return (compiled_[key] = std::move(query)).get();
}

Status Translator::CompileAccess(CompiledQuery& query) {
  Result<Statement> parsed = ParseStatement(query.definition.access_sql.value_or(""));
  if (!parsed.ok()) return parsed.status();
  query.statement = std::move(parsed).value();
  Result<std::vector<ParameterDecl>> parameters =
      Bind(query.statement, BindOptions{true}, query.dependencies);
  if (!parameters.ok()) return parameters.status();
  query.parameters = ParameterNames(*parameters);
  for (const CompiledQuery* dependency : InDependencyOrder(query.dependencies)) {
    query.data_dependent |= dependency->data_dependent;
  }
  if (query.statement.insert != nullptr) {
    return NotCarried("an action query read as a source");
  }
  if (query.statement.query != nullptr) {
    query.columns = query.statement.query->columns;
    return Status::Ok();
  }
  Crosstab& crosstab = *query.statement.crosstab;
  std::vector<std::string> names = query.parameters;
  AddParameters(query.dependencies, names);
  if (crosstab.headings.empty()) {
    if (!names.empty()) {
      return NotCarried("a crosstab read by another query whose headings depend on parameters");
    }
    query.data_dependent = true;
  }
  Emitter emitter(names);
  const Status resolved = ResolveHeadings(
      crosstab, emitter, With(InDependencyOrder(query.dependencies), emitter), catalog_);
  if (!resolved.ok()) return resolved;
  query.columns = crosstab.columns;
  return Status::Ok();
}

Result<std::vector<ParameterDecl>> Translator::Bind(Statement& statement,
                                                    const BindOptions& options,
                                                    std::vector<std::string>& dependencies) {
  dependency_sinks_.push_back(&dependencies);
  Result<std::vector<ParameterDecl>> parameters = BindStatement(statement, *this, options);
  dependency_sinks_.pop_back();
  return parameters;
}

std::vector<const CompiledQuery*> Translator::InDependencyOrder(
    const std::vector<std::string>& roots) const {
  std::vector<const CompiledQuery*> order;
  std::set<std::string> visited;
  const auto visit = [&](const auto& self, const std::string& key) -> void {
    if (!visited.insert(key).second) return;
    const CompiledQuery& query = *compiled_.at(key);
    for (const std::string& dependency : query.dependencies) self(self, dependency);
    order.push_back(&query);
  };
  for (const std::string& root : roots) visit(visit, root);
  return order;
}

void Translator::AddParameters(const std::vector<std::string>& roots,
                               std::vector<std::string>& names) const {
  std::set<std::string> visited;
  const auto visit = [&](const auto& self, const std::string& key) -> void {
    if (!visited.insert(key).second) return;
    const CompiledQuery& query = *compiled_.at(key);
    for (const std::string& name : query.parameters) AddName(names, name);
    for (const std::string& dependency : query.dependencies) self(self, dependency);
  };
  for (const std::string& root : roots) visit(visit, root);
}

std::string Translator::With(const std::vector<const CompiledQuery*>& queries,
                             Emitter& emitter) const {
  std::string with;
  for (const CompiledQuery* query : queries) {
    with += with.empty() ? "WITH " : ", ";
    with += QuoteName(query->definition.name) + " AS (";
    const Statement& statement = query->statement;
    if (query->definition.sql.has_value()) {
      with += StripStatementEnd(*query->definition.sql);
    } else if (statement.query != nullptr) {
      with += emitter.Query(*statement.query, true);
    } else {
      with += EmitCrosstab(*statement.crosstab, emitter);
    }
    with += ")";
  }
  return with.empty() ? with : with + " ";
}

Result<Translation> Translator::Run(std::string_view access_sql, TextOrigin origin,
                                    std::string_view name) {
  Result<Statement> parsed = ParseStatement(access_sql);
  if (!parsed.ok()) return parsed.status();
  Statement statement = std::move(parsed).value();
  if (!name.empty()) in_progress_.push_back(ToUpperAscii(name));
  std::vector<std::string> dependencies;
  Result<std::vector<ParameterDecl>> parameters =
      Bind(statement, BindOptions{origin == TextOrigin::kSavedQuery}, dependencies);
  if (!parameters.ok()) return parameters.status();

  Translation translation;
  translation.parameters = ParameterNames(*parameters);
  AddParameters(dependencies, translation.parameters);
  const std::vector<const CompiledQuery*> sources = InDependencyOrder(dependencies);
  for (const CompiledQuery* source : sources) {
    translation.saved_queries.push_back(source->definition);
    translation.data_dependent |= source->data_dependent;
  }
  Emitter emitter(translation.parameters);
  const std::string with = With(sources, emitter);
  if (statement.query != nullptr) {
    translation.sql = with + emitter.Query(*statement.query, false);
    translation.columns = statement.query->columns;
  } else if (statement.crosstab != nullptr) {
    Crosstab& crosstab = *statement.crosstab;
    if (Status status = ResolveHeadings(crosstab, emitter, with, catalog_); !status.ok()) {
      return status;
    }
    translation.data_dependent |= crosstab.headings.empty();
    translation.sql = with + EmitCrosstab(crosstab, emitter);
    translation.columns = crosstab.columns;
  } else {
    translation.sql = with + emitter.Insert(*statement.insert);
  }
  if (emitter.too_large()) return NotCarried("an expression over 1 MB of SQLite SQL");
  return translation;
}

}  // namespace

std::string_view StripStatementEnd(std::string_view sql) {
  while (!sql.empty() && (IsAsciiSpace(sql.back()) || sql.back() == ';')) sql.remove_suffix(1);
  return sql;
}

Result<Translation> TranslateAccessSql(std::string_view access_sql, TextOrigin origin,
                                       std::string_view name, Catalog& catalog) {
  Translator translator(catalog);
  return translator.Run(access_sql, origin, name);
}

}  // namespace quellor::tagdll::sql
