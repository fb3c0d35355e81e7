#pragma once
// The object models of the region tests that run federates: routing spaces
// Geo (1: X, Y) and Radio (2: Freq), and nothing else but the classes every
// model has; the same with an interaction class Signal in Radio; and a
// model with one object class, Vehicle, whose Position lies in Geo.

inline const char* const theRegionModelFed = R"((FED (Federation Map) (FEDversion v1.3)
  (spaces (space Geo (dimension X) (dimension Y)) (space Radio (dimension Freq)))
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive))))
)";

inline const char* const theTalkModelFed = R"((FED (Federation Talk) (FEDversion v1.3)
  (spaces (space Geo (dimension X) (dimension Y)) (space Radio (dimension Freq)))
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Signal best_effort receive Radio (parameter Power)))))
)";

inline const char* const theFieldModelFed = R"((FED (Federation Field) (FEDversion v1.3)
  (spaces (space Geo (dimension X) (dimension Y)))
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Vehicle (attribute Position best_effort receive Geo) (attribute Name best_effort receive))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive))))
)";
