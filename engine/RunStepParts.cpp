#include "engine/RunStepParts.h"

std::string CreateLinkOrPassOver(const TLinkSpec& link, TRunActions& actions, TRunContext& context) {
  const std::size_t mark = context.Mark();
  context.WillWrite(link.File);
  try {
    actions.CreateLink(link);
    return "";
  } catch (const EFCreateError& failure) {
    context.UndoSince(mark);
    return " " + link.File + " (" + failure.what() + ")";
  }
}

std::string CreateStartMenuLinks(const std::string& installDir, TShortcutRun run, TRunActions& actions,
                                 TRunContext& context) {
  const std::string programs = actions.ShellFolder(TShellPlace::Programs);
  if (programs.empty()) return "";
  const std::string menu = StartMenuFolder(programs);
  if (!actions.FolderExists(menu)) {
    const std::size_t mark = context.Mark();
    context.WillMakeFolder(menu);
    actions.MakeFolderLevel(menu);
    if (!actions.FolderExists(menu)) context.UndoSince(mark);
  }
  std::string notSaved;
  for (const TLinkSpec& link : StartMenuLinks(installDir, run, programs))
    notSaved += CreateLinkOrPassOver(link, actions, context);
  return notSaved;
}

std::string NotSavedDetail(const std::string& notSaved) {
  return notSaved.empty() ? "" : "; not saved, passed over:" + notSaved;
}
