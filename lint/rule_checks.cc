#include "lint/rule_checks.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "store/text_field.h"

namespace kelvo {
namespace {

std::string Shown(std::string_view name) {
    return TrimRight(name);
}

std::string LineNumbers(const std::vector<int>& positions) {
    std::string text;
    for (int p : positions) {
        text += (text.empty() ? "" : ", ") + std::to_string(p + 1);
    }
    return text;
}

/// One condition that makes the object of its rule need another object.
struct Need {
    int to = 0;  ///< the node of the needed object
    int rule = 0;
    int condition = 0;
};

}  // namespace

LintWarnings CheckRulesNeverSought(const ProgramStructure& program) {
    std::unordered_set<std::string> sought{program.topGoal == " " ? std::string()
                                                                  : program.topGoal};
    for (const RuleLines& rule : program.rules) {
        for (int q : rule.conditions) {
            sought.insert(program.Field(q, 3, 32));
        }
    }
    LintWarnings warnings;
    for (const RuleLines& rule : program.rules) {
        const std::string object = program.Field(rule.line, 3, 32);
        if (!sought.contains(object)) {
            warnings.push_back({rule.line, LintCode::RuleNeverSought,
                                Shown(object) + " ist weder das Ziel noch Objekt einer Bedingung"});
        }
    }
    return warnings;
}

LintWarnings CheckCircularRules(const ProgramStructure& program) {
    std::unordered_set<std::string> facts;
    for (int p = 0; p < program.size(); ++p) {
        if (program.Kind(p) == 'F') {
            facts.insert(program.Field(p, 3, 32));
        }
    }
    // Nodes: the objects rules conclude, numbered in the order of their first rule.
    std::unordered_map<std::string, int> node;
    std::vector<std::string> objects;
    for (const RuleLines& rule : program.rules) {
        const std::string object = program.Field(rule.line, 3, 32);
        if (node.emplace(object, static_cast<int>(objects.size())).second) {
            objects.push_back(object);
        }
    }
    const int count = static_cast<int>(objects.size());
    std::vector<std::vector<Need>> needs(static_cast<std::size_t>(count));
    for (const RuleLines& rule : program.rules) {
        const int from = node.at(program.Field(rule.line, 3, 32));
        for (int q : rule.conditions) {
            const std::string object = program.Field(q, 3, 32);
            const auto found = node.find(object);
            if (found != node.end() && !facts.contains(object)) {
                needs[static_cast<std::size_t>(from)].push_back({found->second, rule.line, q});
            }
        }
    }

    // Strongly connected components (Tarjan, with an explicit stack).
    std::vector<int> index(static_cast<std::size_t>(count), -1);
    std::vector<int> low(static_cast<std::size_t>(count), 0);
    std::vector<int> component(static_cast<std::size_t>(count), -1);
    std::vector<bool> onStack(static_cast<std::size_t>(count), false);
    std::vector<int> stack;
    int nextIndex = 0;
    int components = 0;
    for (int start = 0; start < count; ++start) {
        if (index[static_cast<std::size_t>(start)] >= 0) {
            continue;
        }
        std::vector<std::pair<int, std::size_t>> calls{{start, 0}};
        while (!calls.empty()) {
            auto& [v, edge] = calls.back();
            const auto sv = static_cast<std::size_t>(v);
            if (edge == 0 && index[sv] < 0) {
                index[sv] = low[sv] = nextIndex++;
                stack.push_back(v);
                onStack[sv] = true;
            }
            if (edge < needs[sv].size()) {
                const int w = needs[sv][edge++].to;
                const auto sw = static_cast<std::size_t>(w);
                if (index[sw] < 0) {
                    calls.emplace_back(w, 0);
                } else if (onStack[sw]) {
                    low[sv] = std::min(low[sv], index[sw]);
                }
                continue;
            }
            if (low[sv] == index[sv]) {
                int w = -1;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[static_cast<std::size_t>(w)] = false;
                    component[static_cast<std::size_t>(w)] = components;
                } while (w != v);
                ++components;
            }
            const int finished = v;
            calls.pop_back();
            if (!calls.empty()) {
                const auto parent = static_cast<std::size_t>(calls.back().first);
                low[parent] = std::min(low[parent], low[static_cast<std::size_t>(finished)]);
            }
        }
    }

    LintWarnings warnings;
    std::vector<bool> reported(static_cast<std::size_t>(components), false);
    for (int start = 0; start < count; ++start) {
        const int c = component[static_cast<std::size_t>(start)];
        if (reported[static_cast<std::size_t>(c)]) {
            continue;
        }
        // The shortest way from `start` back to itself inside its component.
        std::vector<const Need*> via(static_cast<std::size_t>(count), nullptr);
        std::vector<int> from(static_cast<std::size_t>(count), -1);
        std::vector<int> queue{start};
        const Need* closing = nullptr;
        int closingFrom = -1;
        for (std::size_t head = 0; head < queue.size() && closing == nullptr; ++head) {
            const int v = queue[head];
            for (const Need& need : needs[static_cast<std::size_t>(v)]) {
                if (component[static_cast<std::size_t>(need.to)] != c) {
                    continue;
                }
                if (need.to == start) {
                    closing = &need;
                    closingFrom = v;
                    break;
                }
                if (via[static_cast<std::size_t>(need.to)] == nullptr) {
                    via[static_cast<std::size_t>(need.to)] = &need;
                    from[static_cast<std::size_t>(need.to)] = v;
                    queue.push_back(need.to);
                }
            }
        }
        if (closing == nullptr) {
            continue;  // a component of one object without a rule that needs itself
        }
        reported[static_cast<std::size_t>(c)] = true;
        std::vector<const Need*> cycle{closing};
        for (int v = closingFrom; v != start; v = from[static_cast<std::size_t>(v)]) {
            cycle.push_back(via[static_cast<std::size_t>(v)]);
        }
        std::reverse(cycle.begin(), cycle.end());
        std::vector<int> lines;
        std::string chain = Shown(objects[static_cast<std::size_t>(start)]);
        for (const Need* need : cycle) {
            lines.push_back(need->rule);
            lines.push_back(need->condition);
            chain += " -> " + Shown(objects[static_cast<std::size_t>(need->to)]);
        }
        warnings.push_back({cycle.front()->rule, LintCode::CircularRules,
                            chain + " (Zeilen " + LineNumbers(lines) + ")"});
    }
    return warnings;
}

LintWarnings CheckDuplicateRules(const ProgramStructure& program) {
    std::unordered_map<std::string, int> first;
    LintWarnings warnings;
    for (const RuleLines& rule : program.rules) {
        std::string key = TrimRight(program.lines[static_cast<std::size_t>(rule.line)]);
        for (int q : rule.conditions) {
            key += '\n' + TrimRight(program.lines[static_cast<std::size_t>(q)]);
        }
        const auto [at, added] = first.emplace(std::move(key), rule.line);
        if (!added) {
            warnings.push_back({rule.line, LintCode::DuplicateRule,
                                "gleich der Regel in Zeile " + std::to_string(at->second + 1)});
        }
    }
    return warnings;
}

LintWarnings CheckContradictoryConditions(const ProgramStructure& program) {
    LintWarnings warnings;
    for (const RuleLines& rule : program.rules) {
        // Groups whose every alternative asks one text object for a value with ".".
        struct Group {
            int line = 0;
            std::string object;
            std::set<std::string> values;
            std::string firstValue;  ///< as the first alternative writes it
        };
        std::vector<Group> groups;
        std::size_t k = 0;
        while (k < rule.conditions.size()) {
            Group group{rule.conditions[k],
                        program.Field(rule.conditions[k], 3, 32),
                        {},
                        program.Field(rule.conditions[k], 41, 70)};
            bool plain = true;
            std::size_t end = k;
            do {
                const int q = rule.conditions[end];
                const std::string& line = program.lines[static_cast<std::size_t>(q)];
                if (line[38] != '.' || line[2] == '[' || program.Field(q, 3, 32) != group.object) {
                    plain = false;
                }
                group.values.insert(program.Field(q, 41, 70));
                ++end;
            } while (end < rule.conditions.size() && program.Kind(rule.conditions[end]) == 'O');
            k = end;
            if (!plain) {
                continue;
            }
            for (const Group& earlier : groups) {
                if (earlier.object != group.object) {
                    continue;
                }
                const bool shared = std::any_of(
                    group.values.begin(), group.values.end(),
                    [&](const std::string& value) { return earlier.values.contains(value); });
                if (!shared) {
                    warnings.push_back({group.line, LintCode::ContradictoryConditions,
                                        Shown(group.object) + " kann nicht zugleich \"" +
                                            TrimRight(earlier.firstValue) + "\" (Zeile " +
                                            std::to_string(earlier.line + 1) + ") und \"" +
                                            TrimRight(group.firstValue) + "\" sein"});
                    break;
                }
            }
            groups.push_back(std::move(group));
        }
    }
    return warnings;
}

}  // namespace kelvo
