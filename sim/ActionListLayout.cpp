#include "sim/ActionListLayout.h"

namespace sim {
namespace {

using vcl::TShortCut;

struct ActionSpec {
    const char16_t* category;
    const char16_t* name;
    const char16_t* caption;
    TShortCut shortCut;
    bool enabled;
};

constexpr TShortCut None = 0;
constexpr bool On = true;
constexpr bool Off = false;

constexpr unsigned F(unsigned n) { return VK_F1 + n - 1; }
constexpr TShortCut Key(unsigned key) { return static_cast<TShortCut>(key); }
constexpr TShortCut Shift(unsigned key) { return static_cast<TShortCut>(vcl::scShift | key); }
constexpr TShortCut Ctrl(unsigned key) { return static_cast<TShortCut>(vcl::scCtrl | key); }
constexpr TShortCut Alt(unsigned key) { return static_cast<TShortCut>(vcl::scAlt | key); }
constexpr TShortCut CtrlShift(unsigned key) { return static_cast<TShortCut>(vcl::scCtrl | vcl::scShift | key); }
constexpr TShortCut CtrlAlt(unsigned key) { return static_cast<TShortCut>(vcl::scCtrl | vcl::scAlt | key); }
constexpr TShortCut ShiftAlt(unsigned key) { return static_cast<TShortCut>(vcl::scShift | vcl::scAlt | key); }
constexpr TShortCut CtrlShiftAlt(unsigned key) {
    return static_cast<TShortCut>(vcl::scCtrl | vcl::scShift | vcl::scAlt | key);
}

// Disabled entries are the commands that wait for a debug session, an undo history, a
// selection or a version-control connection.
const ActionSpec ideActions[] = {
    // File
    {u"File", u"FileNewCommand", u"&New", None, On},
    {u"File", u"FileNewFormCommand", u"VCL &Form", None, On},
    {u"File", u"FileNewUnitCommand", u"&Unit", None, On},
    {u"File", u"FileNewApplicationCommand", u"VCL Forms &Application", None, On},
    {u"File", u"FileNewConsoleCommand", u"&Console Application", None, On},
    {u"File", u"FileNewPackageCommand", u"&Package", None, On},
    {u"File", u"FileNewDataModuleCommand", u"&Data Module", None, On},
    {u"File", u"FileNewFrameCommand", u"F&rame", None, On},
    {u"File", u"FileNewOtherCommand", u"&Other...", None, On},
    {u"File", u"FileOpenCommand", u"&Open...", None, On},
    {u"File", u"FileOpenProjectCommand", u"Open &Project...", Ctrl(F(11)), On},
    {u"File", u"FileReopenCommand", u"&Reopen", None, On},
    {u"File", u"FileSaveCommand", u"&Save", Ctrl('S'), On},
    {u"File", u"FileSaveAsCommand", u"Save &As...", None, On},
    {u"File", u"FileSaveProjectAsCommand", u"Sav&e Project As...", None, On},
    {u"File", u"FileSaveAllCommand", u"Save A&ll", CtrlShift('S'), On},
    {u"File", u"FileCloseCommand", u"&Close", Ctrl(F(4)), On},
    {u"File", u"FileCloseAllCommand", u"C&lose All", None, On},
    {u"File", u"FileUseUnitCommand", u"Use Unit...", Alt(F(11)), On},
    {u"File", u"FilePrintCommand", u"&Print...", None, On},
    {u"File", u"FilePageSetupCommand", u"Page Set&up...", None, On},
    {u"File", u"FileExitCommand", u"E&xit", None, On},
    // Edit
    {u"Edit", u"EditUndoCommand", u"&Undo", Ctrl('Z'), Off},
    {u"Edit", u"EditRedoCommand", u"&Redo", CtrlShift('Z'), Off},
    {u"Edit", u"EditCutCommand", u"Cu&t", Ctrl('X'), On},
    {u"Edit", u"EditCopyCommand", u"&Copy", Ctrl('C'), On},
    {u"Edit", u"EditPasteCommand", u"&Paste", Ctrl('V'), On},
    {u"Edit", u"EditDeleteCommand", u"&Delete", Ctrl(VK_DELETE), On},
    {u"Edit", u"EditSelectAllCommand", u"Se&lect All", Ctrl('A'), On},
    {u"Edit", u"EditAlignToGridCommand", u"Align to &Grid", None, On},
    {u"Edit", u"EditBringToFrontCommand", u"Bring to &Front", None, On},
    {u"Edit", u"EditSendToBackCommand", u"Send to &Back", None, On},
    {u"Edit", u"EditAlignCommand", u"&Align...", None, On},
    {u"Edit", u"EditSizeCommand", u"Si&ze...", None, On},
    {u"Edit", u"EditScaleCommand", u"Scal&e...", None, On},
    {u"Edit", u"EditTabOrderCommand", u"Tab &Order...", None, On},
    {u"Edit", u"EditCreationOrderCommand", u"Creat&ion Order...", None, On},
    {u"Edit", u"EditFlipChildrenAllCommand", u"Flip Children &All", None, On},
    {u"Edit", u"EditFlipChildrenSelectedCommand", u"Flip Children &Selected", None, On},
    {u"Edit", u"EditLockControlsCommand", u"Loc&k Controls", None, On},
    {u"Edit", u"EditAddToInterfaceCommand", u"Add to &Interface...", None, On},
    {u"Edit", u"EditIndentCommand", u"Indent Block", CtrlShift('I'), On},
    {u"Edit", u"EditUnindentCommand", u"Unindent Block", CtrlShift('U'), On},
    {u"Edit", u"EditFormatSourceCommand", u"F&ormat Source", Ctrl('D'), On},
    {u"Edit", u"EditCompleteClassCommand", u"Complete Class at Cursor", CtrlShift('C'), On},
    {u"Edit", u"EditSyncEditCommand", u"Sync Edit Mode", CtrlShift('J'), On},
    {u"Edit", u"EditRecordMacroCommand", u"Record Macro", CtrlShift('R'), On},
    {u"Edit", u"EditPlayMacroCommand", u"Play Macro", CtrlShift('P'), On},
    // Search
    {u"Search", u"SearchFindCommand", u"&Find...", Ctrl('F'), On},
    {u"Search", u"SearchFindInFilesCommand", u"Find in F&iles...", CtrlShift('F'), On},
    {u"Search", u"SearchReplaceCommand", u"&Replace...", Ctrl('R'), On},
    {u"Search", u"SearchAgainCommand", u"&Search Again", Key(F(3)), On},
    {u"Search", u"SearchIncrementalCommand", u"&Incremental Search", Ctrl('E'), On},
    {u"Search", u"SearchGoToLineCommand", u"&Go to Line Number...", Alt('G'), On},
    {u"Search", u"SearchFindClassCommand", u"Find &Class...", CtrlAlt('C'), Off},
    {u"Search", u"SearchFindOriginalSymbolCommand", u"Find &Original Symbol...", None, On},
    {u"Search", u"SearchBrowseSymbolCommand", u"&Browse Symbol...", None, On},
    {u"Search", u"SearchFindReferencesCommand", u"Find Re&ferences", CtrlShift(VK_RETURN), On},
    {u"Search", u"SearchFindLocalReferencesCommand", u"Find &Local References", CtrlShiftAlt(VK_RETURN), On},
    {u"Search", u"SearchLastErrorCommand", u"Show Last &Error", None, On},
    // View
    {u"View", u"ViewProjectManagerCommand", u"&Project Manager", CtrlAlt(F(11)), On},
    {u"View", u"ViewObjInspCommand", u"&Object Inspector", Key(F(11)), On},
    {u"View", u"ViewStructureCommand", u"&Structure", ShiftAlt(F(11)), On},
    {u"View", u"ViewToolPaletteCommand", u"&Tool Palette", CtrlAlt('P'), On},
    {u"View", u"ViewDataExplorerCommand", u"&Data Explorer", None, On},
    {u"View", u"ViewModelViewCommand", u"&Model View", None, On},
    {u"View", u"ViewToDoListCommand", u"To-&Do List", None, On},
    {u"View", u"ViewTemplatesCommand", u"Te&mplates", None, On},
    {u"View", u"ViewFileBrowserCommand", u"&File Browser", None, On},
    {u"View", u"ViewSwapSourceFormCommand", u"Toggle Form/&Unit", Key(F(12)), On},
    {u"View", u"ViewFormsCommand", u"F&orms...", Shift(F(12)), On},
    {u"View", u"ViewUnitsCommand", u"&Units...", Ctrl(F(12)), On},
    {u"View", u"ViewNewEditorCommand", u"New Edit &Window", None, On},
    {u"View", u"ViewHistoryCommand", u"&History", None, On},
    {u"View", u"ViewMessagesCommand", u"&Messages", None, On},
    {u"View", u"ViewToolbarsCommand", u"Tool&bars", None, On},
    {u"View", u"ViewComponentListCommand", u"&Component List", None, On},
    {u"View", u"ViewTypeLibraryCommand", u"T&ype Library", None, On},
    {u"View", u"ViewDesktopSaveCommand", u"&Save Desktop...", None, On},
    {u"View", u"ViewDesktopDeleteCommand", u"D&elete Desktop...", None, On},
    {u"View", u"ViewDesktopDebugCommand", u"Set Debug Desktop...", None, On},
    {u"View", u"ViewWelcomePageCommand", u"&Welcome Page", None, On},
    {u"View", u"ViewTranslationManagerCommand", u"Translation Mana&ger", None, On},
    {u"View", u"ViewClassExplorerCommand", u"Class E&xplorer", None, On},
    {u"View", u"ViewDockEditWindowCommand", u"Doc&k Edit Window", None, On},
    // Debug Windows
    {u"Debug Windows", u"ViewDebugBreakpointsCommand", u"&Breakpoints", CtrlAlt('B'), On},
    {u"Debug Windows", u"ViewDebugCallStackCommand", u"&Call Stack", CtrlAlt('S'), On},
    {u"Debug Windows", u"ViewDebugWatchesCommand", u"&Watches", CtrlAlt('W'), On},
    {u"Debug Windows", u"ViewDebugLocalsCommand", u"&Local Variables", CtrlAlt('L'), On},
    {u"Debug Windows", u"ViewDebugThreadsCommand", u"&Threads", CtrlAlt('T'), On},
    {u"Debug Windows", u"ViewDebugModulesCommand", u"&Modules", CtrlAlt('M'), On},
    {u"Debug Windows", u"ViewDebugEventLogCommand", u"&Event Log", CtrlAlt('V'), On},
    {u"Debug Windows", u"ViewDebugCPUCommand", u"&CPU", CtrlAlt('C'), Off},
    {u"Debug Windows", u"ViewDebugFPUCommand", u"&FPU", CtrlAlt('F'), Off},
    {u"Debug Windows", u"ViewDebugInspectorCommand", u"&Inspector", None, Off},
    {u"Debug Windows", u"ViewDebugMemoryCommand", u"Memor&y", CtrlAlt('E'), Off},
    {u"Debug Windows", u"ViewDebugRegistersCommand", u"&Registers", CtrlAlt('R'), Off},
    // Refactor
    {u"Refactor", u"RefactorRenameCommand", u"Re&name...", CtrlShift('E'), On},
    {u"Refactor", u"RefactorDeclareVariableCommand", u"Declare &Variable...", CtrlShift('V'), On},
    {u"Refactor", u"RefactorDeclareFieldCommand", u"Declare &Field...", CtrlShift('D'), On},
    {u"Refactor", u"RefactorExtractMethodCommand", u"E&xtract Method...", CtrlShift('M'), On},
    {u"Refactor", u"RefactorExtractResourceStringCommand", u"Extract &Resource String...", CtrlShift('L'), On},
    {u"Refactor", u"RefactorChangeParamsCommand", u"Change &Params...", None, On},
    {u"Refactor", u"RefactorSafeDeleteCommand", u"&Safe Delete...", None, On},
    {u"Refactor", u"RefactorInlineVariableCommand", u"&Inline Variable...", None, On},
    {u"Refactor", u"RefactorIntroduceVariableCommand", u"Introduce V&ariable...", None, On},
    {u"Refactor", u"RefactorIntroduceFieldCommand", u"Introduce Fie&ld...", None, On},
    {u"Refactor", u"RefactorPushMembersDownCommand", u"Push Members &Down...", None, On},
    {u"Refactor", u"RefactorPullMembersUpCommand", u"P&ull Members Up...", None, On},
    {u"Refactor", u"RefactorExtractSuperclassCommand", u"Extract &Superclass...", None, On},
    {u"Refactor", u"RefactorExtractInterfaceCommand", u"Extract In&terface...", None, On},
    {u"Refactor", u"RefactorMoveCommand", u"&Move...", None, On},
    {u"Refactor", u"RefactorFindUnitCommand", u"Find &Unit...", CtrlShift('A'), On},
    // Project
    {u"Project", u"ProjectAddCommand", u"&Add to Project...", Shift(F(11)), On},
    {u"Project", u"ProjectRemoveCommand", u"&Remove from Project...", None, On},
    {u"Project", u"ProjectImportTypeLibraryCommand", u"&Import Type Library...", None, On},
    {u"Project", u"ProjectAddToRepositoryCommand", u"Add to Repositor&y...", None, On},
    {u"Project", u"ProjectViewSourceCommand", u"&View Source", None, On},
    {u"Project", u"ProjectCompileCommand", u"&Compile", Ctrl(F(9)), On},
    {u"Project", u"ProjectBuildCommand", u"&Build", Shift(F(9)), On},
    {u"Project", u"ProjectSyntaxCheckCommand", u"&Syntax Check", None, On},
    {u"Project", u"ProjectInformationCommand", u"&Information", None, On},
    {u"Project", u"ProjectCompileAllCommand", u"C&ompile All Projects", None, On},
    {u"Project", u"ProjectBuildAllCommand", u"B&uild All Projects", None, On},
    {u"Project", u"ProjectCleanCommand", u"C&lean", None, On},
    {u"Project", u"ProjectDeploymentCommand", u"&Deployment", None, On},
    {u"Project", u"ProjectOptionsCommand", u"&Options...", CtrlShift(F(11)), On},
    {u"Project", u"ProjectResourcesCommand", u"Resources and Ima&ges...", None, On},
    {u"Project", u"ProjectAddNewProjectCommand", u"Add &New Project...", None, On},
    {u"Project", u"ProjectAddExistingProjectCommand", u"Add E&xisting Project...", None, On},
    {u"Project", u"ProjectDefaultOptionsCommand", u"Default O&ptions...", None, On},
    {u"Project", u"ProjectManagerCompileCommand", u"Compile", Ctrl(F(9)), Off},
    {u"Project", u"ProjectManagerBuildCommand", u"Build", Shift(F(9)), Off},
    {u"Project", u"ProjectManagerActivateCommand", u"&Activate", None, On},
    {u"Project", u"ProjectManagerMakeCommand", u"&Make", None, Off},
    // Run
    {u"Run", u"RunRunCommand", u"&Run", Key(F(9)), On},
    {u"Run", u"RunRunWithoutDebuggingCommand", u"Run &Without Debugging", CtrlShift(F(9)), On},
    {u"Run", u"RunParametersCommand", u"&Parameters...", None, On},
    {u"Run", u"RunAttachToProcessCommand", u"Attac&h to Process...", None, On},
    {u"Run", u"RunLoadProcessCommand", u"&Load Process...", None, On},
    {u"Run", u"RunStepOverCommand", u"&Step Over", Key(F(8)), On},
    {u"Run", u"RunTraceIntoCommand", u"&Trace Into", Key(F(7)), On},
    {u"Run", u"RunTraceToNextSourceLineCommand", u"Trace to &Next Source Line", Shift(F(7)), On},
    {u"Run", u"RunRunToCursorCommand", u"Run to &Cursor", Key(F(4)), On},
    {u"Run", u"RunRunUntilReturnCommand", u"Run &Until Return", Shift(F(8)), Off},
    {u"Run", u"RunShowExecutionPointCommand", u"Show E&xecution Point", None, Off},
    {u"Run", u"RunProgramPauseCommand", u"Program P&ause", None, Off},
    {u"Run", u"RunProgramResetCommand", u"Program R&eset", Ctrl(F(2)), Off},
    {u"Run", u"RunDetachCommand", u"&Detach From Program", None, Off},
    {u"Run", u"RunInspectCommand", u"&Inspect...", None, Off},
    {u"Run", u"RunEvaluateModifyCommand", u"Evaluate/&Modify...", Ctrl(F(7)), On},
    {u"Run", u"RunAddWatchCommand", u"Add &Watch...", Ctrl(F(5)), On},
    {u"Run", u"RunToggleBreakpointCommand", u"Toggle &Breakpoint", Key(F(5)), On},
    {u"Run", u"RunAddSourceBreakpointCommand", u"&Source Breakpoint...", None, On},
    {u"Run", u"RunAddAddressBreakpointCommand", u"&Address Breakpoint...", None, Off},
    {u"Run", u"RunAddDataBreakpointCommand", u"&Data Breakpoint...", None, Off},
    {u"Run", u"RunRegisterActiveXCommand", u"Register ActiveX Server", None, Off},
    {u"Run", u"RunUnregisterActiveXCommand", u"Unregister ActiveX Server", None, Off},
    {u"Run", u"RunDownloadCommand", u"D&ownload and Run", None, Off},
    // Component
    {u"Component", u"ComponentNewCommand", u"&New Component...", None, On},
    {u"Component", u"ComponentInstallComponentCommand", u"Install Co&mponent...", None, On},
    {u"Component", u"ComponentImportComponentCommand", u"&Import Component...", None, On},
    {u"Component", u"ComponentCreateTemplateCommand", u"&Create Component Template...", None, Off},
    {u"Component", u"ComponentInstallPackagesCommand", u"Install &Packages...", None, On},
    // Tools
    {u"Tools", u"ToolsOptionsCommand", u"&Options...", None, On},
    {u"Tools", u"ToolsRepositoryCommand", u"&Repository...", None, On},
    {u"Tools", u"ToolsTemplateLibrariesCommand", u"&Template Libraries...", None, On},
    {u"Tools", u"ToolsConfigureToolsCommand", u"&Configure Tools...", None, On},
    {u"Tools", u"ToolsEditorOptionsCommand", u"&Editor Options...", None, On},
    {u"Tools", u"ToolsManageFeaturesCommand", u"&Manage Platform...", None, On},
    {u"Tools", u"ToolsBuildToolsCommand", u"Build T&ools...", None, On},
    {u"Tools", u"ToolsHistoryOptionsCommand", u"&History Options...", None, On},
    {u"Tools", u"ToolsImageEditorCommand", u"&Image Editor", None, On},
    // Window
    {u"Window", u"WindowListCommand", u"&Window List...", Alt('0'), On},
    {u"Window", u"WindowNextPageCommand", u"&Next Page", Ctrl(VK_TAB), On},
    {u"Window", u"WindowPreviousPageCommand", u"&Previous Page", CtrlShift(VK_TAB), On},
    {u"Window", u"WindowNextWindowCommand", u"Ne&xt Window", Alt(VK_END), On},
    {u"Window", u"WindowCloseAllEditorsCommand", u"Close All &Editors", None, On},
    {u"Window", u"WindowDesktopsCommand", u"&Desktops", None, On},
    // Help
    {u"Help", u"HelpContentsCommand", u"&Contents", None, On},
    {u"Help", u"HelpTopicsCommand", u"&Topics", None, On},
    {u"Help", u"HelpSearchCommand", u"&Search Help", Shift(F(1)), On},
    {u"Help", u"HelpContextCommand", u"Context &Help", Ctrl(F(1)), On},
    {u"Help", u"HelpDocWikiCommand", u"&DocWiki", None, On},
    {u"Help", u"HelpWebsiteCommand", u"&Website", None, On},
    {u"Help", u"HelpQualityCentralCommand", u"&QualityCentral", None, On},
    {u"Help", u"HelpCreditsCommand", u"C&redits", None, On},
    {u"Help", u"HelpAboutCommand", u"&About...", None, On},
    // Code Editor
    {u"Code Editor", u"CodeBrowseBackCommand", u"Browse &Back", Alt(VK_LEFT), On},
    {u"Code Editor", u"CodeBrowseForwardCommand", u"Browse &Forward", Alt(VK_RIGHT), On},
    {u"Code Editor", u"CodeNavigateUpCommand", u"Go to &Declaration", CtrlShift(VK_UP), On},
    {u"Code Editor", u"CodeNavigateDownCommand", u"Go to &Implementation", CtrlShift(VK_DOWN), On},
    {u"Code Editor", u"CodeCompletionCommand", u"Code &Completion", Ctrl(VK_SPACE), On},
    {u"Code Editor", u"CodeParameterHintsCommand", u"&Parameter Hints", CtrlShift(VK_SPACE), On},
    {u"Code Editor", u"CodeTemplatesCommand", u"Code &Templates", Ctrl('J'), On},
    {u"Code Editor", u"CodeToggleCommentCommand", u"Toggle Co&mment", None, On},
    {u"Code Editor", u"CodeFoldAllCommand", u"Fold &All", CtrlShift('K'), On},
    {u"Code Editor", u"CodeUnfoldAllCommand", u"&Unfold All", None, On},
    {u"Code Editor", u"CodeOpenFileAtCursorCommand", u"&Open File at Cursor", Ctrl(VK_RETURN), On},
    {u"Code Editor", u"CodeTopicSearchCommand", u"Topic Search", Key(F(1)), On},
    {u"Code Editor", u"CodeMoveLineUpCommand", u"Move Line Up", CtrlAlt(VK_UP), On},
    {u"Code Editor", u"CodeMoveLineDownCommand", u"Move Line Down", CtrlAlt(VK_DOWN), On},
    {u"Code Editor", u"CodeNextMessageCommand", u"Next Message", Alt(F(8)), On},
    {u"Code Editor", u"CodePreviousMessageCommand", u"Previous Message", Alt(F(7)), On},
    {u"Code Editor", u"CodeDeleteLineCommand", u"Delete Line", Ctrl('Y'), On},
    {u"Code Editor", u"CodeDeleteWordCommand", u"Delete Word", Ctrl('T'), On},
    {u"Code Editor", u"CodeInsertGuidCommand", u"Insert GUID", CtrlShift('G'), On},
    {u"Code Editor", u"CodeToggleInsertCommand", u"Toggle Insert Mode", Key(VK_INSERT), On},
    // Bookmarks
    {u"Bookmarks", u"CodeToggleBookmark0Command", u"Toggle Bookmark 0", CtrlShift('0'), On},
    {u"Bookmarks", u"CodeToggleBookmark1Command", u"Toggle Bookmark 1", CtrlShift('1'), On},
    {u"Bookmarks", u"CodeToggleBookmark2Command", u"Toggle Bookmark 2", CtrlShift('2'), On},
    {u"Bookmarks", u"CodeToggleBookmark3Command", u"Toggle Bookmark 3", CtrlShift('3'), On},
    {u"Bookmarks", u"CodeToggleBookmark4Command", u"Toggle Bookmark 4", CtrlShift('4'), On},
    {u"Bookmarks", u"CodeToggleBookmark5Command", u"Toggle Bookmark 5", CtrlShift('5'), On},
    {u"Bookmarks", u"CodeToggleBookmark6Command", u"Toggle Bookmark 6", CtrlShift('6'), On},
    {u"Bookmarks", u"CodeToggleBookmark7Command", u"Toggle Bookmark 7", CtrlShift('7'), On},
    {u"Bookmarks", u"CodeToggleBookmark8Command", u"Toggle Bookmark 8", CtrlShift('8'), On},
    {u"Bookmarks", u"CodeToggleBookmark9Command", u"Toggle Bookmark 9", CtrlShift('9'), On},
    {u"Bookmarks", u"CodeGoToBookmark0Command", u"Go to Bookmark 0", Ctrl('0'), On},
    {u"Bookmarks", u"CodeGoToBookmark1Command", u"Go to Bookmark 1", Ctrl('1'), On},
    {u"Bookmarks", u"CodeGoToBookmark2Command", u"Go to Bookmark 2", Ctrl('2'), On},
    {u"Bookmarks", u"CodeGoToBookmark3Command", u"Go to Bookmark 3", Ctrl('3'), On},
    {u"Bookmarks", u"CodeGoToBookmark4Command", u"Go to Bookmark 4", Ctrl('4'), On},
    {u"Bookmarks", u"CodeGoToBookmark5Command", u"Go to Bookmark 5", Ctrl('5'), On},
    {u"Bookmarks", u"CodeGoToBookmark6Command", u"Go to Bookmark 6", Ctrl('6'), On},
    {u"Bookmarks", u"CodeGoToBookmark7Command", u"Go to Bookmark 7", Ctrl('7'), On},
    {u"Bookmarks", u"CodeGoToBookmark8Command", u"Go to Bookmark 8", Ctrl('8'), On},
    {u"Bookmarks", u"CodeGoToBookmark9Command", u"Go to Bookmark 9", Ctrl('9'), On},
    // Form Designer
    {u"Form Designer", u"DesignerViewAsTextCommand", u"View as &Text", Alt(F(12)), On},
    {u"Form Designer", u"DesignerAddToRepositoryCommand", u"Add to &Repository...", None, On},
    {u"Form Designer", u"DesignerRevertToInheritedCommand", u"Revert to &Inherited", None, Off},
    {u"Form Designer", u"DesignerSelectParentCommand", u"Select &Parent", Key(VK_ESCAPE), On},
    {u"Form Designer", u"DesignerTextDfmCommand", u"Te&xt DFM", None, On},
    {u"Form Designer", u"DesignerControlCommand", u"&Control", None, On},
    {u"Form Designer", u"DesignerPositionCommand", u"P&osition", None, On},
    {u"Form Designer", u"DesignerNudgeLeftCommand", u"Nudge Left", Ctrl(VK_LEFT), On},
    {u"Form Designer", u"DesignerNudgeRightCommand", u"Nudge Right", Ctrl(VK_RIGHT), On},
    {u"Form Designer", u"DesignerNudgeUpCommand", u"Nudge Up", Ctrl(VK_UP), On},
    {u"Form Designer", u"DesignerNudgeDownCommand", u"Nudge Down", Ctrl(VK_DOWN), On},
    {u"Form Designer", u"DesignerGrowWidthCommand", u"Grow Width", Shift(VK_RIGHT), On},
    {u"Form Designer", u"DesignerShrinkWidthCommand", u"Shrink Width", Shift(VK_LEFT), On},
    {u"Form Designer", u"DesignerGrowHeightCommand", u"Grow Height", Shift(VK_DOWN), On},
    {u"Form Designer", u"DesignerShrinkHeightCommand", u"Shrink Height", Shift(VK_UP), On},
    // Team
    {u"Team", u"TeamCommitCommand", u"&Commit...", None, Off},
    {u"Team", u"TeamUpdateCommand", u"&Update", None, Off},
    {u"Team", u"TeamShowLogCommand", u"Show &Log", None, Off},
    {u"Team", u"TeamRevertCommand", u"&Revert...", None, Off},
    {u"Team", u"TeamAddToVersionControlCommand", u"&Add to Version Control...", None, On},
    {u"Team", u"TeamImportProjectCommand", u"&Import Project...", None, On},
    {u"Team", u"TeamCheckoutCommand", u"Check &Out...", None, On},
    // Modeling
    {u"Modeling", u"ModelGenerateDocumentationCommand", u"Generate &Documentation...", None, Off},
    {u"Modeling", u"ModelExportDiagramCommand", u"&Export Diagram...", None, Off},
    {u"Modeling", u"ModelAuditsCommand", u"&Audits...", None, On},
    {u"Modeling", u"ModelMetricsCommand", u"&Metrics...", None, On},
    {u"Modeling", u"ModelOpenDiagramCommand", u"Open &Diagram", None, On},
    {u"Modeling", u"ModelRefreshCommand", u"&Refresh", Ctrl(F(5)), Off},
    // Desktop
    {u"Desktop", u"DesktopDefaultLayoutCommand", u"Default Layout", None, On},
    {u"Desktop", u"DesktopClassicUndockedCommand", u"Classic Undocked", None, On},
    {u"Desktop", u"DesktopDebugLayoutCommand", u"Debug Layout", None, On},
    {u"Desktop", u"DesktopStartupLayoutCommand", u"Startup Layout", None, On},
    {u"Desktop", u"DesktopFullScreenCommand", u"Full Screen", ShiftAlt(VK_RETURN), On},
};

}  // namespace

vcl::TActionList* BuildIdeActionList(vcl::TComponent* owner) {
    auto* list = new vcl::TActionList(owner);
    list->SetName(u"IDEActionList");
    for (const ActionSpec& spec : ideActions) {
        auto* action = new vcl::TAction(list);
        action->SetName(spec.name);
        action->Category = spec.category;
        action->SetCaption(spec.caption);
        action->SetShortCut(spec.shortCut);
        action->SetEnabled(spec.enabled);
        action->SetActionList(list);
    }
    return list;
}

}  // namespace sim
