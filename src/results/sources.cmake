list(APPEND VOLTMETR_CORE_SOURCES
  results/backgroundsave.h results/backgroundsave.cpp
  results/runsummary.h results/runsummary.cpp
  results/runend.h results/runend.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  results/souhrn.h results/souhrn.cpp
  results/genlist.h results/genlist.cpp)
