#include "sim/desktop/desktop_names.h"

#include <array>
#include <utility>

namespace qv::sim {
namespace {

using platform::BoxAnswer;
using platform::BoxKind;
using platform::WindowState;

template <typename T, std::size_t N>
using NameTable = std::array<std::pair<T, std::string_view>, N>;

constexpr NameTable<BoxKind, 4> kBoxKinds{{{BoxKind::kOk, "ok"},
                                           {BoxKind::kYesNo, "yesno"},
                                           {BoxKind::kWarning, "warning"},
                                           {BoxKind::kError, "error"}}};
constexpr NameTable<BoxAnswer, 3> kAnswers{
    {{BoxAnswer::kOk, "ok"}, {BoxAnswer::kYes, "yes"}, {BoxAnswer::kNo, "no"}}};
constexpr NameTable<WindowState, 3> kStates{{{WindowState::kNormal, "normal"},
                                             {WindowState::kMinimized, "minimized"},
                                             {WindowState::kMaximized, "maximized"}}};
constexpr NameTable<WindowOp, 5> kOps{{{WindowOp::kCreate, "create"},
                                       {WindowOp::kShow, "show"},
                                       {WindowOp::kCaption, "caption"},
                                       {WindowOp::kText, "text"},
                                       {WindowOp::kDestroy, "destroy"}}};

template <typename T, std::size_t N>
std::string_view NameOf(const NameTable<T, N>& table, T value) {
  for (const auto& [entry, name] : table) {
    if (entry == value) return name;
  }
  return "?";
}

template <typename T, std::size_t N>
std::optional<T> ValueOf(const NameTable<T, N>& table, std::string_view name) {
  for (const auto& [entry, entry_name] : table) {
    if (entry_name == name) return entry;
  }
  return std::nullopt;
}

}  // namespace

std::string_view BoxKindName(BoxKind kind) {
  return NameOf(kBoxKinds, kind);
}
std::optional<BoxKind> BoxKindFromName(std::string_view name) {
  return ValueOf(kBoxKinds, name);
}
std::string_view AnswerName(BoxAnswer answer) {
  return NameOf(kAnswers, answer);
}
std::optional<BoxAnswer> AnswerFromName(std::string_view name) {
  return ValueOf(kAnswers, name);
}
std::string_view WindowStateName(WindowState state) {
  return NameOf(kStates, state);
}
std::optional<WindowState> WindowStateFromName(std::string_view name) {
  return ValueOf(kStates, name);
}
std::string_view WindowOpName(WindowOp op) {
  return NameOf(kOps, op);
}

}  // namespace qv::sim
