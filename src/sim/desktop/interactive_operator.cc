#include "sim/desktop/interactive_operator.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "sim/desktop/desktop_names.h"
#include "sim/desktop/scripted_operator.h"

namespace qv::sim {
namespace {

struct Choice {
  bool end_of_input = false;
  std::optional<std::size_t> index;  // none: an empty line
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void ShowText(std::ostream& out, const std::string& text) {
  std::string line;
  for (const char c : text + "\n") {
    if (c == '\n') {
      out << "  " << line << "\n";
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
}

// Lists the choices and reads until the person picks one by number or by
// name, gives an empty line (when allowed) or the input ends.
Choice ReadChoice(std::istream& in, std::ostream& out, const std::vector<std::string>& names,
                  bool empty_allowed, const char* prompt) {
  for (std::size_t i = 0; i < names.size(); ++i)
    out << "  " << i + 1 << ") " << names[i];
  out << (empty_allowed ? "  (Enter: not now)\n" : "\n");
  std::string line;
  while (true) {
    out << prompt << std::flush;
    if (!std::getline(in, line)) return {.end_of_input = true, .index = std::nullopt};
    const std::string answer = Lower(Trimmed(line));
    if (answer.empty() && empty_allowed) return {};
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (answer == std::to_string(i + 1) || answer == Lower(names[i]))
        return {.end_of_input = false, .index = i};
    }
    out << "  please answer 1 to " << names.size() << "\n";
  }
}

}  // namespace

platform::BoxAnswer InteractiveOperator::AnswerBox(const BoxQuestion& question) {
  out_ << "[box] " << question.caption << " (" << BoxKindName(question.kind) << ")\n";
  ShowText(out_, question.text);
  std::vector<std::string> names;
  for (const platform::BoxAnswer answer : question.buttons) {
    names.emplace_back(AnswerName(answer));
  }
  const Choice choice = ReadChoice(in_, out_, names, false, "answer: ");
  if (!choice.index) {
    out_ << "\n";
    return DefaultAnswer(question);
  }
  return question.buttons[*choice.index];
}

std::optional<int> InteractiveOperator::PressButton(const DialogQuestion& question) {
  if (question.buttons.empty()) return std::nullopt;
  out_ << "[dialog] " << question.caption << " (scan " << question.scan << ")\n";
  for (const std::string& text : question.texts) {
    if (!text.empty()) ShowText(out_, text);
  }
  std::vector<std::string> names;
  for (const DialogButton& button : question.buttons)
    names.push_back(button.text);
  const Choice choice = ReadChoice(in_, out_, names, true, "press: ");
  if (choice.end_of_input) {
    out_ << "\n";
    return DefaultPress(question);
  }
  if (!choice.index) return std::nullopt;
  return question.buttons[*choice.index].id;
}

}  // namespace qv::sim
