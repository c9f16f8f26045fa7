#include "macro/menu_tree.h"

namespace vondal {

const std::array<MenuNode, kMenuNodeCount>& MenuTree() {
  static constexpr std::array<MenuNode, kMenuNodeCount> kTree = {{
      {"CNSAMFDEPGTOQ 0123456789@^:/\\\t", "   ailnsuvwz  }}}}}}}}}}   `` "},  // the editor menu
      {"DCJEABMHR", "bcdefgh  "},                                              // a: input field
      {"SLC", ""},                                                             // b
      {"HT", ""},                                                              // c
      {"FNJDK", ""},                                                           // d
      {"ULIRN", ""},                                                           // e
      {"DPOSC", ""},                                                           // f
      {"AB", ""},                                                              // g
      {"ACDI", ""},                                                            // h
      {"MCNFEJDWTIO1*R", "           jk "},                                    // i: search mask
      {"ABPSF", ""},                                                           // j
      {"* F", ""},                                                             // k
      {"EDTFLAHS=[] ,.;:\\", "m                "},                             // l: search
      {"=[] ,.;:\\", ""},                                                      // m
      {"01ESL", "  op "},                                                      // n: display
      {"HWKMR", ""},                                                           // o: edit area
      {"TNFCEPMSQR", "     qq r "},                                            // p: select area
      {"012345", ""},                                                          // q: FREQ digits, MODE width
      {"0123456789+-L", ""},                                                   // r: MyQTH
      {"HULRIS+-D", "     ;  t"},                                              // s: convert
      {"-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",                                // t: dictionary
       "t                                    "},
      {"PNF", ""},                               // u: template
      {"RLUJCDEPZ", ""},                         // v: get
      {"JDACM=[] ,.;:\\", "xxx yxxxxxxxxx"},     // w: marks
      {"NAOXD", ""},                             // x
      {"RSEAOXDC01234567", "        yyyyyyyy"},  // y: mark memories
      {"PFLUCBSRXTA", "    {     |"},            // z: other
      {"ASFZXYKLN", ""},                         // {
      {"-31OBTASLRW", "|          "},            // |: assumption
      {"0123456789", ""},                        // }: macro number
      {"", ""},                                  // ~
  }};
  return kTree;
}

}  // namespace vondal
