// Packet types of the game-server protocol (u16 numbers on the wire).
//
// Server to client unless marked "client to server". The rest of the protocol's types join this
// list as their handlers are written.
#pragma once

#include <cstdint>

// Session, lobby and account types.
constexpr uint16_t PACKETTYPE_HELLOFROMSERVER = 1001;
constexpr uint16_t PACKETTYPE_UPGRADEREQUIRED = 1002;
constexpr uint16_t PACKETTYPE_FULLUPGRADEREQUIRED = 1003;
constexpr uint16_t PACKETTYPE_UPGRADEREQUEST = 1004;  // client to server
constexpr uint16_t PACKETTYPE_UPGRADEDATA = 1005;
constexpr uint16_t PACKETTYPE_POPUPMESSAGE = 1006;
constexpr uint16_t PACKETTYPE_BIRTHDAYMESSAGE = 1007;
constexpr uint16_t PACKETTYPE_RECONNECTREQUIRED = 1008;
constexpr uint16_t PACKETTYPE_LOGINREQUEST = 1009;  // client to server
constexpr uint16_t PACKETTYPE_LOGINRESULT = 1010;
constexpr uint16_t PACKETTYPE_LOGOUTREQUEST = 1011;  // client to server
constexpr uint16_t PACKETTYPE_LOGOUTRESULT = 1012;
constexpr uint16_t PACKETTYPE_GAMELISTREQUEST = 1015;  // client to server
constexpr uint16_t PACKETTYPE_GAMELIST = 1016;
constexpr uint16_t PACKETTYPE_DISCONNECT = 1017;  // client to server
constexpr uint16_t PACKETTYPE_MAINLOBBYINFOREQUEST = 1018;  // client to server
constexpr uint16_t PACKETTYPE_MAINLOBBYINFO = 1019;
constexpr uint16_t PACKETTYPE_TABLEDETAILREQUEST = 1020;  // client to server
constexpr uint16_t PACKETTYPE_TABLEDETAIL = 1021;
constexpr uint16_t PACKETTYPE_POPUPHTML = 1022;
constexpr uint16_t PACKETTYPE_SETSCROLLBANNER = 1023;
constexpr uint16_t PACKETTYPE_BUDDYLIST = 1025;
constexpr uint16_t PACKETTYPE_ADDBUDDYRESULT = 1027;
constexpr uint16_t PACKETTYPE_REMOVEBUDDYRESULT = 1029;
constexpr uint16_t PACKETTYPE_FORCEEXIT = 1033;
constexpr uint16_t PACKETTYPE_SERVERPING = 1036;  // client to server
constexpr uint16_t PACKETTYPE_SERVERPINGREPLY = 1037;
constexpr uint16_t PACKETTYPE_HTTPUPGRADEREQUIRED = 1038;
constexpr uint16_t PACKETTYPE_HELLOFROMCLIENT = 1040;  // client to server
constexpr uint16_t PACKETTYPE_PINGFROMSERVER = 1041;
constexpr uint16_t PACKETTYPE_PINGFROMSERVERREPLY = 1042;  // client to server
constexpr uint16_t PACKETTYPE_ALLINRESETREQUEST = 1043;  // client to server
constexpr uint16_t PACKETTYPE_TOURNEYLISTREQUEST = 1044;  // client to server
constexpr uint16_t PACKETTYPE_TOURNEYLIST = 1045;
constexpr uint16_t PACKETTYPE_DETAILSTEXT = 1047;
constexpr uint16_t PACKETTYPE_TOURNEYDATA = 1049;
constexpr uint16_t PACKETTYPE_TOURNEYTABLEDATA = 1051;
constexpr uint16_t PACKETTYPE_JOINTOURNEYRESULT = 1053;
constexpr uint16_t PACKETTYPE_UNJOINTOURNEYREQUEST = 1054;  // client to server
constexpr uint16_t PACKETTYPE_UNJOINTOURNEYRESULT = 1055;
constexpr uint16_t PACKETTYPE_TOURNEYBALANCERESULT = 1058;
constexpr uint16_t PACKETTYPE_RESUMETABLES = 1060;
constexpr uint16_t PACKETTYPE_HELLOFROMSERVERHOSTED = 1062;
constexpr uint16_t PACKETTYPE_TOURNEYCOSTREQUEST = 1063;  // client to server
constexpr uint16_t PACKETTYPE_TOURNEYCOSTRESULT = 1064;
constexpr uint16_t PACKETTYPE_JOINTOURNEYREQUEST = 1065;  // client to server
constexpr uint16_t PACKETTYPE_USERBALANCESREQUEST = 1066;  // client to server
constexpr uint16_t PACKETTYPE_USERBALANCES = 1067;
constexpr uint16_t PACKETTYPE_MEMBERSHIPREQUIRED = 1068;
constexpr uint16_t PACKETTYPE_SHOWJOINNOW = 1069;
constexpr uint16_t PACKETTYPE_RAKEOMETER = 1071;
constexpr uint16_t PACKETTYPE_BUYMEMBERSHIPRESULT = 1072;
constexpr uint16_t PACKETTYPE_DELUXEPOPUPMESSAGE = 1076;
constexpr uint16_t PACKETTYPE_GENERALSEATNOTIFICATION = 1077;
constexpr uint16_t PACKETTYPE_SIGNUPRESULT = 1079;
constexpr uint16_t PACKETTYPE_REQUESTEMAILANDSTATUSRESULT = 1083;
constexpr uint16_t PACKETTYPE_REQUESTVALIDATEEMAILRESULT = 1085;
constexpr uint16_t PACKETTYPE_REQUESTSENDVALIDATIONCODERESULT = 1087;
constexpr uint16_t PACKETTYPE_TEMPPASSWORDENTRYSUCCESSFUL = 1088;
constexpr uint16_t PACKETTYPE_SENDEMAILADDRESSRESULT = 1091;
constexpr uint16_t PACKETTYPE_REQUESTSERVERIDIPMAP = 1092;  // client to server
constexpr uint16_t PACKETTYPE_REQUESTSERVERIDIPMAPRESULT = 1093;
constexpr uint16_t PACKETTYPE_SHUTDOWNSERVER = 1094;
constexpr uint16_t PACKETTYPE_TOURNEYDETAILSREQUEST = 1097;  // client to server
constexpr uint16_t PACKETTYPE_TOURNEYSTATUSREQUEST = 1098;  // client to server
constexpr uint16_t PACKETTYPE_TOURNEYDETAILS = 1099;
constexpr uint16_t PACKETTYPE_PENDINGBONUSDATA = 1101;
constexpr uint16_t PACKETTYPE_BONUSHISTORYDATA = 1105;
constexpr uint16_t PACKETTYPE_GAMESERVERPING = 1110;  // client to server
constexpr uint16_t PACKETTYPE_DEVICEID_RESPONSE = 1118;

// Table types: 2100 and above go to the list of open tables, except the waiting-list and
// bring-more-money answers, which the dispatch handles itself.
constexpr uint16_t PACKETTYPE_FIRSTTABLETYPE = 2100;
constexpr uint16_t PACKETTYPE_JOINTABLEREQUEST = 2100;  // client to server
constexpr uint16_t PACKETTYPE_TABLEWAITLISTRESPONSE = 2116;
constexpr uint16_t PACKETTYPE_TABLEWAITINGLISTNOTIFY = 2117;
constexpr uint16_t PACKETTYPE_TABLELEAVEWAITLISTREQUEST = 2118;  // client to server
constexpr uint16_t PACKETTYPE_TABLELEAVEWAITLISTRESPONSE = 2119;
constexpr uint16_t PACKETTYPE_TABLEBRINGMOREMONEYRESPONSE = 2121;
