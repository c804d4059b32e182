list(APPEND VOLTMETR_CORE_SOURCES
  exercise/metermodel.h exercise/metermodel.cpp
  exercise/needlemotion.h exercise/needlemotion.cpp
  exercise/numbertext.h exercise/numbertext.cpp
  exercise/exercise.h exercise/exercise.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  exercise/zkouseni.h exercise/zkouseni.cpp)
