# The test suites of a cross build for Windows: GoogleTest built from its
# sources (Debian's googletest package), every program run under the
# emulator that CMAKE_CROSSCOMPILING_EMULATOR names (wine64, see
# wine-run.sh). The main build runs these suites (windows_core_suites), after
# it has made the wine prefix that VELKORA_WINE_PREFIX names.

set(VELKORA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${VELKORA_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are missing at ${VELKORA_GOOGLETEST_SOURCE}: install "
                      "googletest (scripts/setup-deps installs every dependency).")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELKORA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main)
  if(NOT TARGET GTest::${library})
    add_library(GTest::${library} ALIAS ${library})
  endif()
  # GoogleTest's own warnings are not ours.
  target_compile_options(${library} PRIVATE -w)
endforeach()

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(VELKORA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH
      "The wine prefix the test programs run in")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${VELKORA_WINE_PREFIX})
endif()

# ThreadSanitizer does not exist for mingw-w64.
set(VELKORA_TSAN_TESTS OFF)

# The areas whose programs need only the standard library and the platform
# layer; the others test the Linux programs as a whole (scripts, the vendor's
# example program, packaging, the Qt programs).
set(TEST_AREAS platform model links package setupstub velklink builder cli selfkit windows)

# Cases that do not hold on Windows, by program (GoogleTest filter patterns).
# Symbolic links: creating one needs a privilege that neither wine nor an
# ordinary Windows user has, so the cases that plant one cannot run.
set(links "*PlantedLink*:*LinkAtTheOutput*:*ThroughALink*:SameExistingFileTest.*:AffiliateEditorTest.*")
# Modes 0600/0700 are Linux file rights; Windows files carry access lists.
set(modes "BuilderFileHelpersTest.UniqueTempFilesAreNewPrivateAndDistinct:BuilderFileHelpersTest.FixedNameFileRefusesLinksAndForeignFiles")
# Stores kept in folders: the Windows store is the registry (wine-e2e.sh).
set(folder_stores "SetupLauncherTest.PreparedPackageIsExtractedAndItsLinkStored:SetupLauncherTest.EmptyWebsiteIsAnEmptyString:SetupLauncherTest.TextsEndAtANulByte:SetupLauncherTest.UnwritableMachineStoreFallsBackToTheUsersStore:LauncherRunTest.SetupRunsFromAFolderOfItsOwnThatIsRemovedAfterwards:SetupLauncherTest.FailedExtractionStoresNothing:SetupLauncherTest.LinkThatCannotBePutInPlaceIsNeverReportedAsStored:LauncherRunTest.LinkIsInPlaceWhenTheSetupStarts:LauncherRunTest.SignedPackageWithBytesAfterItsSignatureIsRefused")
# A backslash is part of a Linux file name but separates Windows folders;
# control characters cannot be in a Windows file name.
set(names "SfxPackage.NameIsThePartAfterTheLastSeparator:CliTest.InspectEscapesEntryNamesButJsonKeepsThem")
# Paths absolute on Linux ("/work/proj") have no drive on Windows.
set(posix_paths "ProjectPaths.ProjectUsesItsFolderAsBase:ProjectPaths.PathsInsideTheFolderAreStoredRelative")
# A setup that is no Windows program gets the launcher of the writing
# program's own system: on Windows that is not the Linux one.
set(own_launcher "VerifyCommandTest.AFreshBuildMatchesEverywhere")
# Setups that are scripts: the Windows programs carry no launcher that starts
# one, so they refuse to build them.
set(script_setups "VerifyCommandTest.*:BuildRoadFixture.ASetupThatDoesNotStartIsAWarning:BuildRoadFixture.SuccessWalksTheStepsThenOffersToRun:Carried/CarriedSetupTest.DecidesTheRoad/plain_setup:Carried/CarriedSetupTest.DecidesTheRoad/another_products_template:ScriptedBuildFixture.WithoutServiceTakesTheOneListedFirst:ScriptedBuildFixture.WritesThePackageOfTheNamedService:SelfKitFixture.BuildWritesTheAffiliatePackageInEightSteps")
# The system's reason for a failed read is worded by each system; the cases
# that compare it whole hold the Linux words.
set(system_reasons "CliTest.AFolderGivenAsProjectFileIsCalledAFolder:CliTest.MissingOrBadFileGivesTheMessage:InspectCommand.NonPackageAndBadUsageFail")
# A script setup gets the Linux self creator, which the Windows programs do not carry.
set(linux_self_creator "SelfCreatorFixture.RelativePathsResolveAgainstTheProjectFolder:SelfCreatorFixture.TheDefaultNameJoinsTheOutputFolderOnce:SelfCreatorFixture.WritesTheSelfCreatorAndDefaultsItsPath")
set(VELKORA_WINDOWS_SKIP_platform_tests "${links}")
set(VELKORA_WINDOWS_SKIP_package_tests "${links}:${names}")
set(VELKORA_WINDOWS_SKIP_model_tests "${links}:${posix_paths}")
set(VELKORA_WINDOWS_SKIP_builder_tests "${modes}")
set(VELKORA_WINDOWS_SKIP_builder_fault_tests "${links}")
set(VELKORA_WINDOWS_SKIP_setupstub_tests "${links}:${folder_stores}")
set(VELKORA_WINDOWS_SKIP_selfkit_tests "${links}:${script_setups}")
set(VELKORA_WINDOWS_SKIP_cli_tests "${names}:${system_reasons}")
set(VELKORA_WINDOWS_SKIP_package_inspect_tests "${system_reasons}")
set(VELKORA_WINDOWS_SKIP_self_creator_builder_tests "${linux_self_creator}")
set(VELKORA_WINDOWS_SKIP_cli_affiliate_file_tests "${own_launcher}:${script_setups}")

# Every start of a program under the emulator costs a quarter second, so each
# test program is one test that runs all its cases, instead of one test per
# case found by listing them at build time (which would also need the wine
# prefix before the tests run). What the cases print says which one failed.
add_custom_target(velkora_test_programs)
# The probe of the desktop program's dialogs, driven by the main build's tests.
if(TARGET velkora_dialogs_probe)
  add_dependencies(velkora_test_programs velkora_dialogs_probe)
endif()
function(gtest_discover_tests target)
  cmake_parse_arguments(arg "" "" "PROPERTIES" ${ARGN})
  add_test(NAME ${target} COMMAND ${target})
  if(VELKORA_WINDOWS_SKIP_${target})
    set_tests_properties(${target} PROPERTIES
                         ENVIRONMENT "GTEST_FILTER=-${VELKORA_WINDOWS_SKIP_${target}}")
  endif()
  if(arg_PROPERTIES)
    set_tests_properties(${target} PROPERTIES ${arg_PROPERTIES})
  endif()
  add_dependencies(velkora_test_programs ${target})
endfunction()
