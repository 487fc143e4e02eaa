#include "intro/scroll_text.h"

namespace vesk {
namespace {

Text Spaces(std::size_t count) { return Text(count, u' '); }

}  // namespace

Text AssembleScrollText() {
    // The window shows 20 characters, so runs of 20 spaces clear it: the text
    // opens on an empty window, and the pauses before a change of motion let
    // the old motion scroll out.
    Text text = Spaces(20);
    for (int run = 0; run < 7; ++run) text += Spaces(20);
    text += u" aON N'Y CROYAIT PLUS ET POURTANT VOICI TORVEL QUI DEVRAIT COMMENCER ";
    text += u"D'ICI DEUX MINUTES. ENFIN... NORMALEMENT... ";
    text += Spaces(30) + u"d";
    text += u"LES CREDITS POUR CETTE PETITE INTRO ";
    text += u"SPECIALE...   CODE: DORN VA    GFX: LOMB-TRE ET KERL-OSSA ";
    text += u"   ZIK: KAVERINUS MOTA z";
    text += Spaces(22) + u"f";
    text += u"GREETINGS TO QOLT ET MIRDOK AINSI QUE TOUS LES GENS QUI ONT CRU ";
    text += u"AU PROJET ET A TOUTE L'EQUIPE... AND TO YOU!" + Spaces(9);
    text += Spaces(20) + u"ye";
    text += u"PLUS QUE QUELQUES SECONDES AVANT QUE LES PROGRAMMES NE COMMENCENT... ";
    text += u"AU FAIT... ETES-VOUS CAPABLE DE TROUVER LE HIDDEN SCREEN ?" + Spaces(5) + u"LET'S WR" +
            Text(27, u'A') + u"P... ";
    text += Spaces(20);
    return text;
}

}  // namespace vesk
