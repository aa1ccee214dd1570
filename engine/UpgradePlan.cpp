#include "engine/UpgradePlan.h"

#include <memory>

#include "engine/RunStepParts.h"

std::string RetryNotice(int attempt) {
  return "Pelmora P2P is still running or in use by another program. Upgrade will retry in a "
         "few seconds. (Attempt " + std::to_string(attempt) + ")";
}

namespace {

// Each attempt is a step of the journal. An attempt that finds the program held by a running
// client changes nothing; the client gets a little time to end before the next one.
std::string ReplaceClient(const std::string& installDir, TRunActions& actions, const TNoticeEvent& showNotice,
                          unsigned secondMs, TRunContext& context) {
  const std::string path = installDir + "Pelmora.Exe";
  for (int attempt = 1;; ++attempt) {
    const std::string step = "Client program (attempt " + std::to_string(attempt) + ")";
    context.Journal.StepStarted(step);
    try {
      actions.CheckReplaceable(path);
      context.WillWrite(path);
      actions.ExtractClient(path, context.Progress.PayloadProgress());
      context.Journal.StepEnded(step, TStepResult::Done, path);
      return path;
    } catch (const EFCreateError& failure) {
      if (attempt == kUpgradeAttempts || !actions.IsHeldByRunningProgram(failure, path)) {
        context.Journal.StepEnded(step, TStepResult::Failed, failure.what());
        throw;
      }
      context.Journal.StepEnded(step, TStepResult::Abandoned, failure.what());
    } catch (const std::exception& failure) {
      context.Journal.StepEnded(step, TStepResult::Failed, failure.what());
      throw;
    }
    showNotice(RetryNotice(attempt));
    for (int second = 0; second < kRetryWaitSeconds; ++second) context.Progress.Wait(secondMs);
    showNotice("");
  }
}

}  // namespace

TRunPlan UpgradePlan(const std::string& installDir, bool autoUpdate, TRunActions& actions,
                     const TNoticeEvent& showNotice, unsigned secondMs, long long payloadTotal) {
  const auto shared = std::make_shared<const std::string>(installDir);
  const std::string& dir = *shared;
  TRunActions& a = actions;
  TRunPlan plan;
  plan.Kind = "upgrade";
  plan.BarMaximum = payloadTotal;
  plan.Steps.push_back({.Name = "Installation folder", .Work = [shared, &dir, &a](TRunContext& context) {
                          context.SetInstallDir(dir);
                          if (!a.FolderExists(dir)) {
                            context.WillMakeFolder(dir);
                            try {
                              a.MakeFolder(dir);
                            } catch (const EInOutError&) {
                              // The client program's step tells why nothing can be written.
                            }
                          }
                          return dir;
                        }});
  if (autoUpdate)
    plan.Steps.push_back({.Name = "Waiting for the client to end", .Journalled = false,
                          .Work = [secondMs](TRunContext& context) {
                            for (int second = 0; second < kUnattendedWaitSeconds; ++second)
                              context.Progress.Wait(secondMs);
                            return std::string();
                          }});
  plan.Steps.push_back({.Name = "Client program", .Journalled = false,
                        .Work = [shared, &dir, &a, showNotice, secondMs](TRunContext& context) {
                          return ReplaceClient(dir, a, showNotice, secondMs, context);
                        }});
  plan.Steps.push_back({.Name = "Uninstaller", .Work = [shared, &dir, &a](TRunContext& context) {
                          const std::string path = dir + "Uninstall.Exe";
                          context.WillWrite(path);
                          a.ExtractUninstaller(path);
                          return path;
                        }});
  plan.Steps.push_back({.Name = "Shortcuts", .End = TBarMark::AtMaximum(), .Work = [shared, &dir, &a](TRunContext& context) {
                          return "start menu" +
                                 NotSavedDetail(CreateStartMenuLinks(dir, TShortcutRun::Upgrade, a, context));
                        }});
  return plan;
}
