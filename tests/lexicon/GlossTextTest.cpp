#include "lexicon/GlossText.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace pelorin {
namespace {

// Quoted examples would show the answer in a sentence; quotes that are part of
// the definition stay, and WordNet's `quotes' become plain ones.
TEST(GlossTextTest, CleanGlossDropsExamplesOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a support or foundation; \"the base of the lamp\"  ", "a support or foundation"},
        {"feline mammal: domestic cats; \"the cat sat\"", "feline mammal: domestic cats"},
        {"a whip: \"the cat was feared by sailors\"", "a whip"},
        {"the act of moving fast; as in the expression \"on the run\"",
         "the act of moving fast; as in the expression \"on the run\""},
        {"a male deer; he didn't sink a putt\"", "a male deer"},
        {"mature female of mammals of which the male is called `buck'",
         "mature female of mammals of which the male is called 'buck'"},
    };
    for (const auto& [gloss, definition] : cases)
        EXPECT_EQ(CleanGloss(gloss), definition) << gloss;
}

// A clue is the first clause that stands on its own, without asides, and no
// longer than a clue; what cannot be cut well stays whole.
TEST(GlossTextTest, ClueClauseKeepsTheFirstSenseBearingClause)
{
    const std::pair<const char*, const char*> changed[] = {
        {"(Old Testament) elder brother of Moses (14th century BC); the first high priest", "elder brother of Moses"},
        {"(used especially of meats) preserved in salt", "preserved in salt"},
        {"a (usually rectangular) container; may have a lid", "a container"},
        {"having an (over)abundance of flesh", "having an abundance of flesh"},
        {"make an addition (to); join or combine", "make an addition"},
        {"(Old Testament) in Judeo-Christian mythology; the first man", "the first man"},
        {"(plural) any group of human beings (men or women) collectively", "any group of human beings collectively"},
        {"unbalanced (aside; text", "unbalanced (aside"},
        // WordNet's plural wording for the terms of one word.
        {"informal terms for a mother", "informal term for a mother"},
        {"informal or slang terms for mentally irregular", "informal or slang term for mentally irregular"},
        {"street names for marijuana", "street name for marijuana"},
        // An aside too long to keep goes; so does a note of the sense or its use
        // before a definition.
        {"(used of living things especially persons) in an early period of life or development or growth",
         "in an early period of life or development or growth"},
        {"primarily temporal sense; being or indicating a relatively small temporal extent",
         "being or indicating a relatively small temporal extent"},
        {"used of locations; having beautiful natural scenery", "having beautiful natural scenery"},
    };
    for (const auto& [definition, clue] : changed)
        EXPECT_EQ(ClueClause(definition), clue) << definition;
    // The clue is what stands before the "|"; a definition without one stays whole.
    const std::string cut[] = {
        "not thin|; of a specific thickness", "use as a basis for; found on", "flee|; take to one's heels",
        "quantifier; used with either mass or count nouns", "go through (mental or physical states)",
        "feline mammal usually having thick soft fur|: domestic cats",
        // Too long: cut before the last clause opener that leaves a phrase.
        "any of several tropical and subtropical treelike herbs of the genus Musa| having a terminal crown of large "
        "entire leaves and usually bearing hanging clusters of elongated fruits",
        "a celestial body of hot gases that radiates energy| derived from thermonuclear reactions in the interior of "
        "the star",
        "a percussion instrument similar to a xylophone but having metal bars| and rotating disks in the resonators "
        "that produce a vibrato sound",
        // A cut never leaves a phrase without its end: brackets unpaired, a list
        // or "such ... that" broken off, an article and its adjective alone, a
        // participle without the object it shares, an adverb without its word.
        "a coarse vine widely cultivated in tropical regions of the world| for its large edible starchy tuberous "
        "roots that are eaten as vegetables",
        "metal device shaped in such a way that when it is inserted into the appropriate lock the lock's mechanism "
        "can be rotated",
        "a plant with a weak stem that derives support from climbing|, twining, or creeping along a surface",
        "freshwater or marine or terrestrial gastropod mollusk| usually having an external enclosing spiral shell",
        "the outer boundary of an artifact or a material layer| constituting or resembling such a boundary",
        "a circumscribed inflammatory and often suppurating lesion on the skin or an internal mucous surface",
        // With no clause to cut before, a clause is cut before what it is for.
        "an annual award by the Academy of Motion Picture Arts and Sciences| for achievements in motion picture "
        "production and performance",
        // A cut never ends on a number that has lost what it counts.
        "predatory arachnid with eight legs, two poison fangs, two feelers|, and usually two silk-spinning organs at "
        "the back end of the body",
        "the sensation that results when taste buds in the tongue and throat convey information about the chemical "
        "composition of a soluble stimulus",
        "a unit of heat equal to the amount of heat required to raise the temperature of one kilogram of water by one "
        "degree",
    };
    for (const std::string& marked : cut) {
        const size_t bar = marked.find('|');
        const std::string definition =
            bar == std::string::npos ? marked : marked.substr(0, bar) + marked.substr(bar + 1);
        EXPECT_EQ(ClueClause(definition), marked.substr(0, bar)) << definition;
    }
    // Nor on a preposition that has lost its object or a "being" its participle,
    // nor inside a noun's phrase.
    for (const char* clause : {"situated in or facing or moving toward or coming from the north",
                               "not capable of being used", "make a sharp hissing sound"})
        EXPECT_TRUE(ShorterClauses(clause).empty()) << clause;
    // Where the first clause gives the word away, the next may do.
    EXPECT_EQ(ClueClauses("make a vow; promise"), (std::vector<std::string>{"make a vow", "promise"}));
}

TEST(GlossTextTest, ThirdPersonAgreesWithTheVerbsForm)
{
    const std::pair<const char*, const char*> forms[] = {
        {"make", "makes"}, {"fix", "fixes"}, {"carry", "carries"}, {"go", "goes"}, {"play", "plays"},
        {"be", "is"},      {"have", "has"},  {"woo", "woos"},      {"push", "pushes"}};
    for (const auto& [verb, form] : forms)
        EXPECT_EQ(ThirdPerson(verb), form) << verb;
    const std::set<std::string> verbs = {"move", "travel", "approach", "carry", "perform", "feel", "suffer",
                                         "follow", "take", "make", "accept", "cause", "shift", "forsake", "leave",
                                         "remove", "mark", "produce", "shine", "like", "thrust", "hold", "prevent",
                                         "give", "pain", "be"};
    const VerbForm known = [&](std::string_view word) -> std::optional<std::string> {
        return verbs.count(std::string(word)) ? std::optional(ThirdPerson(word)) : std::nullopt;
    };
    const std::pair<const char*, const char*> cases[] = {
        {"move toward, travel toward something or somebody or approach something",
         "moves toward, travels toward something or somebody or approaches something"},
        {"carry out or perform an action", "carries out or performs an action"},
        {"feel or suffer from the lack of", "feels or suffers from the lack of"},
        {"follow a procedure or take a course", "follows a procedure or takes a course"},
        {"cause to move or shift", "causes to move or shift"},
        {"to make a mistake", "makes a mistake"},
        {"to mark, or produce an imprint", "marks, or produces an imprint"},
        {"shine brightly, like a star", "shines brightly, like a star"},
        {"like better", "likes better"},
        {"make a sad face and thrust out one's lower lip", "makes a sad face and thrusts out one's lower lip"},
        {"remove the moisture from and make dry", "removes the moisture from and makes dry"},
        {"formally accept", "formally accepts"},
        // After a verb and its one word, a verb with more after it agrees, but
        // not one that may be a noun before "to".
        {"hold fast or prevent from moving", "holds fast or prevents from moving"},
        {"give trouble or pain to", "gives trouble or pain to"},
        // "be" is a verb wherever it is joined, but for an infinitive's.
        {"make a mistake or be incorrect", "makes a mistake or is incorrect"},
        {"cause to move or be moved", "causes to move or be moved"},
        {"forsake, leave behind", "forsakes, leaves behind"},
        {"establish the validity of something, as by an example",
         "establish the validity of something, as by an example"},
    };
    for (const auto& [definition, agreed] : cases)
        EXPECT_EQ(ThirdPersonDefinition(definition, known), agreed) << definition;
}

// A kind glossed by its members names one of them, where the head is a plain
// plural that stands alone.
TEST(GlossTextTest, SingularHeadNamesOneOfAKind)
{
    const std::map<std::string, std::string, std::less<>> singulars = {
        {"grasses", "grass"}, {"turtles", "turtle"}, {"shrubs", "shrub"}, {"fairies", "fairy"}, {"animals", "animal"}};
    const VerbForm singular = [&](std::string_view word) -> std::optional<std::string> {
        const auto found = singulars.find(word);
        return found == singulars.end() ? std::nullopt : std::optional(found->second);
    };
    const std::pair<const char*, const char*> cases[] = {
        {"tall woody perennial grasses with hollow slender stems",
         "tall woody perennial grass with hollow slender stems"},
        {"usually herbivorous land turtles having clawed limbs", "usually herbivorous land turtle having clawed limbs"},
        {"grasses", "grass"},
        {"web-footed long-necked aquatic turtles", "web-footed long-necked aquatic turtle"},
        // Joined to another noun, before a relative's verb, as a group, after a
        // determiner: as they stand.
        {"north temperate shrubs or trees", "north temperate shrubs or trees"},
        {"fairies that are somewhat mischievous", "fairies that are somewhat mischievous"},
        {"domesticated bovine animals as a group", "domesticated bovine animals as a group"},
        {"any of various grasses", "any of various grasses"},
        {"woody plants with stems", "woody plants with stems"}, // no plural the lookup knows
        {"", ""},
    };
    for (const auto& [clue, one] : cases)
        EXPECT_EQ(SingularHead(clue, singular), one) << clue;
}

} // namespace
} // namespace pelorin
