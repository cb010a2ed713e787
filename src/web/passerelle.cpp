// The JavaScript side of the calls out of the engine: each hands its values to the receiver
// that the module optic.mjs sets as Module.recepteur for the run under way.
#include "web/passerelle.h"

#include <emscripten/emscripten.h>

// clang-format off
EM_JS(void, optic_sortie, (const char* texte, size_t longueur), {
    Module.recepteur.sortie(HEAPU8.slice(texte, texte + longueur));
});
EM_JS(void, optic_message, (int ligne, const char* texte, size_t longueur), {
    Module.recepteur.message(ligne, HEAPU8.slice(texte, texte + longueur));
});
EM_JS(void, optic_diagnostic, (int ligne, const char* texte, size_t longueur), {
    Module.recepteur.diagnostic(ligne, HEAPU8.slice(texte, texte + longueur));
});
EM_JS(void, optic_fenetre, (int c, double x, double y, double zoom, int taille), {
    Module.recepteur.fenetre(c, x, y, zoom, taille);
});
EM_JS(void, optic_rangs, (int c, int debut, int fin), {
    Module.recepteur.rangs(c, debut, fin);
});
EM_JS(void, optic_geometrie, (const char* json, size_t longueur), {
    Module.recepteur.geometrie(HEAPU8.slice(json, json + longueur));
});
EM_JS(void, optic_image, (const char* nom, size_t longueur, int taille), {
    Module.recepteur.image(HEAPU8.slice(nom, nom + longueur), taille);
});
EM_JS(void, optic_echec, (const char* texte, size_t longueur), {
    Module.recepteur.echec(HEAPU8.slice(texte, texte + longueur));
});
EM_JS(void, optic_compte_rendu, (const char* json, size_t longueur), {
    Module.recepteur.compteRendu(HEAPU8.slice(json, json + longueur));
});
EM_JS(void, optic_rayons_aberration, (int f, const double* valeurs, size_t nombre), {
    Module.recepteur.rayonsAberration(f, HEAPF64.slice(valeurs / 8, valeurs / 8 + 4 * nombre));
});
EM_JS(void, optic_progression, (const char* etape, size_t longueur, double fait, double total), {
    Module.recepteur.progression(HEAPU8.slice(etape, etape + longueur), fait, total);
});
// clang-format on
