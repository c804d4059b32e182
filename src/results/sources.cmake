list(APPEND VOLTMETR_CORE_SOURCES
  results/reportkey.h
  results/info2.h results/info2.cpp
  results/reportdecoder.h results/reportdecoder.cpp
  results/reportfields.h results/reportfields.cpp
  results/reportextract.h results/reportextract.cpp
  results/classlist.h results/classlist.cpp
  results/failurereason.h results/failurereason.cpp
  results/schooldatabase.h results/schooldatabase.cpp
  results/reporttext.h results/reporttext.cpp
  results/saveretry.h results/saveretry.cpp
  results/resultsstore.h results/resultsstore.cpp
  results/backgroundsave.h results/backgroundsave.cpp
  results/runsummary.h results/runsummary.cpp
  results/reportfile.h results/reportfile.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  results/souhrn.h results/souhrn.cpp
  results/genlist.h results/genlist.cpp)
